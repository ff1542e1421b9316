#include "ui/TodayFigures.h"

#include "core/Revenue.h"

namespace {

struct Group {
    QString title;
    QList<SaleEvent> events;
    std::optional<Money> revenue;
};

QList<TopRow> framerRows(const TodaySummary &summary, const QLocale &locale)
{
    QList<TopRow> rows;
    for (const TodaySummary::Template &t : summary.top.mid(0, 4))
        rows.append({t.title, locale.toString(t.views) + QStringLiteral(" views"),
                     t.remixes >= 1 ? u'+' + locale.toString(t.remixes) : QStringLiteral("0"),
                     std::nullopt});
    return rows;
}

QList<Group> groups(const QList<SaleEvent> &events)
{
    QList<Group> list;
    for (const SaleEvent &e : events) {
        if (e.kind != SaleEvent::Kind::Sale && e.kind != SaleEvent::Kind::Renewal)
            continue;
        auto it = std::find_if(list.begin(), list.end(),
                               [&](const Group &g) { return g.title == e.title; });
        if (it == list.end())
            list.append({e.title, {e}, std::nullopt});
        else
            it->events.append(e);
    }
    for (Group &g : list)
        g.revenue = Revenue::sum(g.events);
    std::stable_sort(list.begin(), list.end(), [](const Group &a, const Group &b) {
        const qint64 ra = a.revenue ? a.revenue->minor : 0;
        const qint64 rb = b.revenue ? b.revenue->minor : 0;
        if (ra != rb)
            return ra > rb;
        return a.events.size() > b.events.size();
    });
    return list;
}

}

namespace TodayFigures {

QList<TopRow> topRows(const TodayInput &in)
{
    if (in.tab.kind == TodayTab::Kind::Framer)
        return in.summary ? framerRows(*in.summary, in.locale) : QList<TopRow>();
    QList<TopRow> rows;
    for (const Group &g : groups(ofTab(in.sales, in.tab))) {
        const qsizetype n = g.events.size();
        const QString detail =
            QString::number(n) + (n == 1 ? QStringLiteral(" sale") : QStringLiteral(" sales"));
        const QString amount =
            g.revenue ? g.revenue->formatted(true, in.locale) : u'+' + QString::number(n);
        const bool logo = in.tab.kind == TodayTab::Kind::All;
        rows.append({g.title, detail, amount,
                     logo ? std::optional(g.events.first().platform) : std::nullopt});
    }
    return rows;
}

}
