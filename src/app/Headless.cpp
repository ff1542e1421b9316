#include "app/Headless.h"

#include "app/FramerServices.h"
#include "app/Services.h"
#include "core/AccountKey.h"
#include "core/Iso.h"
#include "core/JsonText.h"
#include "core/Revenue.h"
#include "moments/MomentBuilder.h"

#include <QCoroSignal>
#include <QCoroTask>
#include <QCoroTimer>
#include <QTimer>

namespace {

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

QByteArray money(const std::optional<Money> &m)
{
    if (!m)
        return "null";
    QByteArray json = "{\"minor\":" + QByteArray::number(m->minor) + ",\"currency\":";
    appendJsonString(json, m->currency);
    return json + '}';
}

void field(QByteArray &json, const char *name, const QString &value)
{
    json.append(json.endsWith('{') ? "\"" : ",\"").append(name).append("\":");
    appendJsonString(json, value);
}

void rawField(QByteArray &json, const char *name, const QByteArray &value)
{
    json.append(json.endsWith('{') ? "\"" : ",\"").append(name).append("\":").append(value);
}

QByteArray eventLine(const SaleEvent &e)
{
    QByteArray json = "{";
    field(json, "id", e.id);
    field(json, "account", accountKey(e.account));
    field(json, "platform", Platforms::rawValue(e.platform));
    field(json, "kind", SaleEvent::kindName(e.kind));
    field(json, "title", e.title);
    if (e.amount)
        rawField(json, "amount", money(e.amount));
    field(json, "at", Iso::plain(e.at));
    return json + '}';
}

QList<SaleEvent> withoutFailed(const QList<SaleEvent> &events)
{
    QList<SaleEvent> kept;
    for (const SaleEvent &e : events)
        if (e.kind != SaleEvent::Kind::Failed)
            kept.append(e);
    return kept;
}

int salesCount(const QList<SaleEvent> &events)
{
    return int(std::count_if(events.begin(), events.end(), [](const SaleEvent &e) {
        return e.kind == SaleEvent::Kind::Sale || e.kind == SaleEvent::Kind::Renewal;
    }));
}

QByteArray dayFigures(const QList<SaleEvent> &events)
{
    QByteArray json = "{";
    rawField(json, "revenue", money(Revenue::sum(withoutFailed(events))));
    rawField(json, "sales", QByteArray::number(salesCount(events)));
    return json + '}';
}

// Reads "key=value" lines; a value may itself contain "=".
QMap<QString, QString> formValues(const QString &input)
{
    QMap<QString, QString> values;
    for (const QString &line : input.split(u'\n')) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq > 0)
            values.insert(line.left(eq).trimmed(), line.mid(eq + 1));
    }
    return values;
}

}

namespace Headless {

QCoro::Task<int> connect(Services &services, QString platform, QString input)
{
    const auto p = Platforms::fromRaw(platform);
    if (!p) {
        err() << "There is no platform called \"" << platform << "\"." << Qt::endl;
        co_return 1;
    }
    try {
        const Account account =
            co_await services.settingsModel.connectPlatform(*p, formValues(input));
        out() << account.label << Qt::endl;
        co_return 0;
    } catch (const Failure &failure) {
        err() << failure.description() << Qt::endl;
    } catch (const std::exception &other) {
        err() << QString::fromUtf8(other.what()) << Qt::endl;
    }
    co_return 1;
}

int accounts(Services &services)
{
    for (const Account &a : services.accounts.accounts()) {
        const auto last = services.events.lastPoll(a.id);
        out() << accountKey(a.id) << '\t' << Platforms::rawValue(a.platform) << '\t' << a.label
              << '\t' << (last ? Iso::plain(*last) : QStringLiteral("never")) << Qt::endl;
    }
    return 0;
}

// Framer's news comes as a moment; its trouble goes to standard error.
QCoro::Task<> checkFramer(FramerServices &framer)
{
    if (const auto moment = co_await framer.check.run())
        out() << moment->toCompactJson() << Qt::endl;
    if (!framer.check.status().startsWith(u"Watching "))
        err() << "Framer: " << framer.check.status() << Qt::endl;
}

QCoro::Task<int> check(Services &services, FramerServices *framer, bool momentOnly)
{
    if (framer)
        co_await checkFramer(*framer);
    const QList<SaleEvent> fresh = co_await services.poller.pollAll();
    if (momentOnly) {
        if (const auto moment = MomentBuilder::momentFor(fresh))
            out() << moment->toCompactJson() << Qt::endl;
    } else {
        for (const SaleEvent &e : fresh)
            out() << eventLine(e) << Qt::endl;
    }
    for (const Account &a : services.accounts.accounts())
        if (services.poller.hasError(a.id))
            err() << a.label << ": " << services.poller.error(a.id) << Qt::endl;
    co_return 0;
}

QCoro::Task<int> connectFramer(FramerServices &framer)
{
    framer.signIn.show();
    while (framer.signIn.isOpen())
        co_await qCoro(&framer.signIn, &SignInWindow::openChanged);
    // Go on from the event loop, not from inside the window's own signal.
    QTimer turn;
    turn.setSingleShot(true);
    turn.start(0);
    co_await &turn;
    if (!framer.signIn.isDone()) {
        err() << "The Framer sign-in window was closed before the sign-in finished." << Qt::endl;
        co_return 1;
    }
    out() << "Framer" << Qt::endl;
    co_return 0;
}

int today(Services &services)
{
    const QDateTime now = services.clock.now();
    const QList<SaleEvent> todays = services.events.today(now);
    QByteArray json = "{";
    field(json, "date", now.toLocalTime().date().toString(Qt::ISODate));
    rawField(json, "revenue", money(Revenue::sum(withoutFailed(todays))));
    rawField(json, "sales", QByteArray::number(salesCount(todays)));
    rawField(json, "yesterday", dayFigures(services.events.yesterday(now)));
    QByteArray list = "[";
    for (const Account &a : services.accounts.accounts()) {
        QList<SaleEvent> mine;
        for (const SaleEvent &e : todays)
            if (e.account == a.id)
                mine.append(e);
        QByteArray item = "{";
        field(item, "id", accountKey(a.id));
        field(item, "platform", Platforms::rawValue(a.platform));
        field(item, "label", a.label);
        rawField(item, "revenue", money(Revenue::sum(withoutFailed(mine))));
        rawField(item, "sales", QByteArray::number(salesCount(mine)));
        list += (list.size() > 1 ? "," : "") + item + '}';
    }
    rawField(json, "accounts", list + ']');
    out() << json << '}' << Qt::endl;
    return 0;
}

QCoro::Task<int> probe(const SourceRegistry &sources, SourceContext context)
{
    const QString key = QStringLiteral("rk_test_51KorvantaProbe0000000000000000");
    const Extra extra{
        {QStringLiteral("shop"), QStringLiteral("korvanta-probe.myshopify.com")},
        {QStringLiteral("partnerId"), QStringLiteral("1")},
        {QStringLiteral("site"), QStringLiteral("https://shop.example.com")},
        {QStringLiteral("consumerKey"), QStringLiteral("ck_probe")},
    };
    for (const Platform p : sources.platformsByRawValue()) {
        const QString raw = Platforms::rawValue(p);
        try {
            const QString label = co_await sources.find(p)->verify(context, key, extra);
            out() << raw << ": OK?? " << label << Qt::endl;
        } catch (const Failure &failure) {
            out() << raw << ": " << failure.description() << Qt::endl;
        } catch (const std::exception &other) {
            out() << raw << ": " << QString::fromUtf8(other.what()) << Qt::endl;
        }
    }
    co_return 0;
}

}
