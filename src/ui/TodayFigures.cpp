#include "ui/TodayFigures.h"

#include "core/Revenue.h"

namespace {

bool isSale(const SaleEvent &e)
{
    return e.kind == SaleEvent::Kind::Sale || e.kind == SaleEvent::Kind::Renewal;
}

QList<SaleEvent> salesOnly(const QList<SaleEvent> &events)
{
    QList<SaleEvent> kept;
    for (const SaleEvent &e : events)
        if (isSale(e))
            kept.append(e);
    return kept;
}

QString plural(qint64 n, const QString &one, const QString &many)
{
    return n == 1 ? one : many;
}

// The title with the largest weight: its minor units, or 1 per event without an amount.
QString topSeller(const QList<SaleEvent> &sales)
{
    QList<std::pair<QString, qint64>> weights;
    for (const SaleEvent &e : sales) {
        const qint64 w = e.amount ? e.amount->minor : 1;
        auto it = std::find_if(weights.begin(), weights.end(),
                               [&](const auto &p) { return p.first == e.title; });
        if (it == weights.end())
            weights.append({e.title, w});
        else
            it->second = Revenue::addSaturating(it->second, w);
    }
    auto best = std::max_element(weights.cbegin(), weights.cend(),
                                 [](const auto &a, const auto &b) { return a.second < b.second; });
    return best == weights.cend() ? QString() : best->first;
}

QList<TodayStat> framerStats(const TodaySummary *s, const QLocale &locale)
{
    if (!s)
        return {{QStringLiteral("Remixes"), QStringLiteral("–")},
                {QStringLiteral("Views"), QStringLiteral("–")},
                {QStringLiteral("Yesterday"), QStringLiteral("–")}};
    return {{QStringLiteral("Remixes"), locale.toString(s->remixes)},
            {QStringLiteral("Views"), locale.toString(s->views)},
            {QStringLiteral("Yesterday"),
             s->yesterdayRemixes ? locale.toString(*s->yesterdayRemixes) : QStringLiteral("–")}};
}

}

namespace TodayFigures {

QList<SaleEvent> ofTab(const QList<SaleEvent> &events, const TodayTab &tab)
{
    if (!tab.account)
        return events;
    QList<SaleEvent> kept;
    for (const SaleEvent &e : events)
        if (e.account == tab.account->id)
            kept.append(e);
    return kept;
}

QString title(const TodayInput &in)
{
    switch (in.tab.kind) {
    case TodayTab::Kind::Account:
        return Platforms::name(in.tab.account->platform) + QStringLiteral(" today");
    case TodayTab::Kind::Framer:
        if (in.tabCount > 2)
            return QStringLiteral("Framer today");
        break;
    default:
        break;
    }
    return QStringLiteral("Today so far");
}

QString subtitle(const TodayInput &in)
{
    if (in.tab.kind == TodayTab::Kind::Framer)
        return in.summary ? in.summary->highlight() : QString();
    const QList<SaleEvent> today = salesOnly(ofTab(in.sales, in.tab));
    if (today.isEmpty()) {
        const qsizetype n = salesOnly(ofTab(in.yesterday, in.tab)).size();
        if (n == 0)
            return QStringLiteral("Quiet so far");
        return QStringLiteral("Quiet so far · %1 ").arg(n)
            + plural(n, QStringLiteral("sale"), QStringLiteral("sales"))
            + QStringLiteral(" yesterday");
    }
    const QString top = topSeller(today);
    if (in.tab.kind == TodayTab::Kind::Account)
        return top + QStringLiteral(" · ") + ordinal(today.size(), in.locale)
            + QStringLiteral(" sale today");
    return top + QStringLiteral(" is your top seller");
}

QList<TodayStat> stats(const TodayInput &in)
{
    if (in.tab.kind == TodayTab::Kind::Framer)
        return framerStats(in.summary ? &*in.summary : nullptr, in.locale);
    const QList<SaleEvent> today = ofTab(in.sales, in.tab);
    QList<SaleEvent> paid;
    for (const SaleEvent &e : today)
        if (e.kind != SaleEvent::Kind::Failed)
            paid.append(e);
    const std::optional<Money> revenue = Revenue::sum(paid);
    const qsizetype count = salesOnly(today).size();
    const bool stripe = in.tab.account && in.tab.account->platform == Platform::Stripe;
    const QString countLabel = stripe
        ? plural(count, QStringLiteral("Payment"), QStringLiteral("Payments"))
        : plural(count, QStringLiteral("Sale"), QStringLiteral("Sales"));
    return {
        {QStringLiteral("Revenue"),
         revenue ? revenue->formatted(false, in.locale) : QStringLiteral("–")},
        {countLabel, in.locale.toString(count)},
        {QStringLiteral("vs yesterday"), vsYesterday(today, ofTab(in.yesterday, in.tab), in.now)}};
}

}
