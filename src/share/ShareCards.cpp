#include "share/ShareCards.h"

#include "core/Revenue.h"
#include "share/Ordinal.h"

#include <QFile>
#include <QLocale>
#include <QRegularExpression>

namespace {

bool celebrated(const SaleEvent &e)
{
    return e.kind == SaleEvent::Kind::Sale || e.kind == SaleEvent::Kind::Renewal;
}

QString b(const QString &text)
{
    return QStringLiteral("{b}") + text + QStringLiteral("{b}");
}
QString m(const QString &text)
{
    return QStringLiteral("{m}") + text + QStringLiteral("{m}");
}
QString logo(Platform p)
{
    return QStringLiteral("{logo:") + Platforms::rawValue(p) + u'}';
}

// The text without its markup, for captions.
QString plain(QString text)
{
    static const QRegularExpression markup(QStringLiteral("\\{(b|m|logo:[a-z]+)\\}"));
    return text.remove(markup);
}

QString count(qint64 n, const QString &one, const QString &many)
{
    return QLocale().toString(n) + u' ' + (n == 1 ? one : many);
}

// What the cards say about the day's sales, gathered in one pass.
struct Day {
    QList<SaleEvent> sold; // sales and renewals
    QList<Platform> platforms;
    std::optional<Money> revenue;
    const SaleEvent *latest = nullptr;
};

Day dayOf(const CardFigures &f)
{
    Day d;
    QList<SaleEvent> paid;
    for (const SaleEvent &e : f.sales) {
        if (e.kind != SaleEvent::Kind::Failed)
            paid.append(e);
        if (celebrated(e))
            d.sold.append(e);
    }
    d.revenue = Revenue::sum(paid);
    for (Platform p : Platforms::all())
        if (std::any_of(d.sold.begin(), d.sold.end(),
                        [p](const SaleEvent &e) { return e.platform == p; }))
            d.platforms.append(p);
    for (const SaleEvent &e : d.sold)
        if (!d.latest || e.at > d.latest->at)
            d.latest = &e;
    return d;
}

QString soldOn(const Day &d)
{
    QStringList names;
    for (Platform p : d.platforms)
        names << logo(p) + Platforms::name(p);
    return QStringLiteral("Sold on ") + ShareCards::list(names);
}

QVariantMap card(const QString &name, const QString &hl, const QString &hidden)
{
    return {{QStringLiteral("name"), name},
            {QStringLiteral("hl"), hl},
            {QStringLiteral("hlSmall"), plain(hl).size() > 44},
            {QStringLiteral("hidden"), hidden},
            {QStringLiteral("cap"), plain(hl)},
            {QStringLiteral("capH"), plain(hidden)},
            {QStringLiteral("tag"), QString()},
            {QStringLiteral("intro"), QString()},
            {QStringLiteral("mark"), QString()},
            {QStringLiteral("sale"), QString()},
            {QStringLiteral("win"), QString()}};
}

QVariantMap dayCard(const Day &d, const QString &date)
{
    if (d.sold.isEmpty()) {
        const QString none = QStringLiteral("No sales yet today.");
        QVariantMap c = card(QStringLiteral("Day"), none, none);
        c[QStringLiteral("tag")] = date;
        return c;
    }
    const QString made = d.revenue
        ? m(d.revenue->formatted())
        : b(count(d.sold.size(), QStringLiteral("sale"), QStringLiteral("sales")));
    QString hl = QStringLiteral("Made ") + made + QStringLiteral(" today");
    if (d.platforms.size() > 1)
        hl += QStringLiteral(" across ") + b(QString::number(d.platforms.size()))
            + QStringLiteral(" platforms");
    QVariantMap c = card(QStringLiteral("Day"), hl, soldOn(d) + QStringLiteral(" today"));
    c[QStringLiteral("tag")] = date;
    c[QStringLiteral("sale")] =
        count(d.sold.size(), QStringLiteral("sale"), QStringLiteral("sales"));
    c[QStringLiteral("win")] = soldOn(d);
    return c;
}

QVariantMap winCard(const Day &d, const QString &date)
{
    if (!d.latest) {
        const QString none = QStringLiteral("No sales yet today.");
        QVariantMap c = card(QStringLiteral("Win"), none, none);
        c[QStringLiteral("tag")] = date;
        return c;
    }
    const SaleEvent &e = *d.latest;
    const QString hl = QStringLiteral("Someone just bought ") + b(e.title);
    QVariantMap c = card(QStringLiteral("Win"), hl, hl);
    c[QStringLiteral("tag")] = date;
    c[QStringLiteral("intro")] = QString(logo(e.platform) + Platforms::name(e.platform));
    c[QStringLiteral("mark")] = Platforms::rawValue(e.platform);
    if (e.amount) {
        c[QStringLiteral("sale")] = m(e.amount->formatted(true));
        c[QStringLiteral("cap")] =
            QString(plain(hl) + QStringLiteral(" (") + e.amount->formatted(true) + u')');
    }
    c[QStringLiteral("win")] = QString(QStringLiteral("Your ") + b(Ordinal::of(d.sold.size()))
                                       + QStringLiteral(" sale today"));
    return c;
}

// "Remixed today: A, B and 2 more".
QString remixedToday(const TodaySummary &t)
{
    QStringList names;
    qsizetype remixed = 0;
    for (const TodaySummary::Template &tpl : t.top)
        if (tpl.remixes > 0 && ++remixed <= 2)
            names << b(tpl.title);
    if (remixed > 2)
        names << QString::number(remixed - 2) + QStringLiteral(" more");
    return names.isEmpty() ? QString()
                           : QStringLiteral("Remixed today: ") + ShareCards::list(names);
}

QVariantMap framerCard(const TodaySummary &t, const QString &date)
{
    const QString views = b(QLocale().toString(t.views)) + QStringLiteral(" views on Framer");
    const bool any = t.remixes > 0;
    const QString hl = any ? b(count(t.remixes, QStringLiteral("remix"), QStringLiteral("remixes")))
            + QStringLiteral(" on Framer today.")
                           : QStringLiteral("No remixes yet today, ") + views;
    QString hidden = QStringLiteral("No remixes yet today.");
    if (any && !t.top.isEmpty() && t.top.first().remixes > 0)
        hidden = QStringLiteral("Someone just remixed ") + b(t.top.first().title);
    else if (any)
        hidden = QStringLiteral("Remixed on Framer today.");
    QVariantMap c = card(QStringLiteral("Framer"), hl, hidden);
    c[QStringLiteral("tag")] = date;
    c[QStringLiteral("intro")] =
        QString(logo(Platform::Framer) + QStringLiteral("Framer Marketplace"));
    c[QStringLiteral("mark")] = Platforms::rawValue(Platform::Framer);
    c[QStringLiteral("sale")] = any ? views : QString();
    c[QStringLiteral("win")] = remixedToday(t);
    return c;
}

QString dateText(const QDateTime &now)
{
    const QDate day = now.toLocalTime().date();
    const QLocale english(QLocale::English);
    return english.toString(day, QStringLiteral("dddd, MMMM ")) + Ordinal::of(day.day());
}

QString dataAddress(const QString &file)
{
    QFile svg(file);
    if (!svg.open(QIODevice::ReadOnly))
        return {};
    return QStringLiteral("data:image/svg+xml;base64,")
        + QString::fromLatin1(svg.readAll().toBase64());
}

QVariantList platformsOf(const QList<Platform> &list, const QString &logoFolder)
{
    QVariantList out;
    for (Platform p : list) {
        out << QVariantMap{
            {QStringLiteral("id"), Platforms::rawValue(p)},
            {QStringLiteral("name"), Platforms::name(p)},
            {QStringLiteral("color"), Platforms::brandHex(p)},
            {QStringLiteral("logo"),
             dataAddress(logoFolder + u'/' + Platforms::logoFile(p) + QStringLiteral(".svg"))}};
    }
    return out;
}

}

namespace ShareCards {

QString list(const QStringList &names)
{
    if (names.size() < 2)
        return names.value(0);
    return names.first(names.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ")
        + names.last();
}

QVariantMap data(const CardFigures &figures, const QString &logoFolder)
{
    const Day d = dayOf(figures);
    const QString date = dateText(figures.now);
    QVariantList cards{dayCard(d, date), winCard(d, date)};
    QList<Platform> shown = d.platforms;
    if (figures.framer) {
        cards << framerCard(*figures.framer, date);
        if (!shown.contains(Platform::Framer))
            shown.prepend(Platform::Framer);
    }
    return {{QStringLiteral("day"), date},
            {QStringLiteral("platforms"), platformsOf(d.platforms, logoFolder)},
            {QStringLiteral("logos"), platformsOf(shown, logoFolder)},
            {QStringLiteral("accent"), QString::fromLatin1(accent)},
            {QStringLiteral("cards"), cards}};
}

}
