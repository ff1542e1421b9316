#include "connectors/paddlepolar/PolarSource.h"
#include "core/EventStore.h"
#include "support/Fixture.h"
#include "support/TestHttp.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

// Hosts, labels, sandbox retries, requests and damaged answers: tests/sources.
namespace {

const QString token = QStringLiteral("polar_oat_5vYq2mJc0aXkR8tN3bL7wZ1dF6hG4sP9eU2iO0yT");
const QUuid account = QUuid::fromString(QStringLiteral("{c3f1b2a4-7e6d-4f5a-9b8c-1d2e3f4a5b6c}"));
const QDateTime since(QDate(2026, 12, 5), QTime(0, 0), Qt::UTC);
const QString ordersPath = QStringLiteral("/v1/orders/");
using Changes = QList<std::pair<QString, QJsonValue>>; // an undefined value removes the field

// The recorded paid one-off order with another id and some fields changed.
QJsonObject order(const QString &id, const Changes &changes = {})
{
    QJsonObject o =
        QJsonDocument::fromJson(fixture("paddlepolar/polar-orders.json"))["items"][0].toObject();
    o["id"] = id;
    for (const auto &[name, value] : changes)
        o.insert(name, value);
    return o;
}

QByteArray list(const QJsonArray &items)
{
    return QJsonDocument(QJsonObject{{"items", items}}).toJson();
}

}

class TestPolar : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The dashboard follows the label, or the account's sandbox flag.
    void dashboard()
    {
        QCOMPARE(PolarSource::dashboard({}, "Polar"), QUrl("https://polar.sh/dashboard"));
        QCOMPARE(PolarSource::dashboard({}, "Polar (sandbox)"),
                 QUrl("https://sandbox.polar.sh/dashboard"));
        QCOMPARE(PolarSource::dashboard({{"sandbox", "1"}}, "Polar"),
                 QUrl("https://sandbox.polar.sh/dashboard"));
    }

    // A renewal created before the cut-off that waited in "pending" is
    // announced once it is paid, dated when paid; renewals paid on time or
    // changed before the cut-off are not read again.
    void latePaidRenewals()
    {
        TestHttp t;
        QTemporaryDir dir;
        EventStore store(dir.filePath("events.json"));
        const auto renewal = [](const char *id, const char *created, const char *modified,
                                const char *status) {
            return order(id,
                         {{"billing_reason", "subscription_cycle"},
                          {"created_at", created},
                          {"modified_at", modified},
                          {"status", status},
                          {"paid", QString(status) == "paid"}});
        };
        const auto check = [&](const QJsonArray &recurring) {
            t.server.reset();
            t.server.handle([&](const RecordedRequest &r) -> std::optional<ScriptedResponse> {
                if (r.queryValue("product_billing_type") == "recurring")
                    return ScriptedResponse::json(list(recurring));
                return ScriptedResponse::json(list({}));
            });
            return store.ingest(runTask(PolarSource::fetch(t.context(), token, {}, account, since)),
                                account, t.clock.now());
        };
        store.ingest({}, account, t.clock.now());
        const QJsonArray waiting{
            renewal("r_late", "2026-12-03T08:00:00Z", "2026-12-03T08:00:01Z", "pending"),
            renewal("r_on_time", "2026-12-03T09:00:00Z", "2026-12-03T09:00:01Z", "paid")};
        QVERIFY(check(waiting).isEmpty());
        const QList<SaleEvent> paid = check(
            {renewal("r_late", "2026-12-03T08:00:00Z", "2026-12-05T10:00:00Z", "paid"),
             renewal("r_on_time", "2026-12-03T09:00:00Z", "2026-12-03T09:00:01Z", "paid"),
             renewal("r_refunded", "2026-12-03T07:00:00Z", "2026-12-05T10:00:00Z", "refunded")});
        QCOMPARE(paid.size(), 1);
        QCOMPARE(paid[0].id, "r_late");
        QCOMPARE(paid[0].kind, SaleEvent::Kind::Renewal);
        QCOMPARE(paid[0].at, QDateTime(QDate(2026, 12, 5), QTime(10, 0), Qt::UTC));
    }

    void orderMapping_data()
    {
        QTest::addColumn<QJsonObject>("element");
        QTest::addColumn<QString>("expected"); // kind title | minor currency; empty: not reported
        const auto row = [](const char *name, const Changes &changes, const char *expected) {
            QTest::newRow(name) << order("o", changes) << QString(expected);
        };
        const QJsonValue none(QJsonValue::Undefined);
        const char *sale = "sale Framer Kit | 1071 USD";
        row("paid", {}, sale);
        row("pending but paid", {{"status", "pending"}}, sale);
        row("paid status, flag false", {{"paid", false}}, sale);
        row("neither", {{"status", "pending"}, {"paid", false}}, "");
        row("paid flag as text", {{"status", "refunded"}, {"paid", "true"}}, "");
        row("renewal", {{"billing_reason", "subscription_cycle"}}, "renewal Framer Kit | 1071 USD");
        row("metered cycle", {{"billing_reason", "subscription_meter_cycle"}},
            "renewal Framer Kit | 1071 USD");
        row("subscription start is a sale", {{"billing_reason", "subscription_create"}}, sale);
        row("item label", {{"product", none}}, "sale Framer Kit Pro | 1071 USD");
        row("no names",
            {{"product", QJsonValue::Null}, {"items", QJsonArray{QJsonObject{{"label", 4}}}}},
            "sale Polar order | 1071 USD");
        row("net amount", {{"total_amount", none}}, "sale Framer Kit | 900 USD");
        row("fractional total skipped", {{"total_amount", 10.5}}, "sale Framer Kit | 900 USD");
        row("plain amount", {{"total_amount", none}, {"net_amount", "900"}, {"amount", 450}},
            "sale Framer Kit | 450 USD");
        row("no amount", {{"total_amount", none}, {"net_amount", none}}, "sale Framer Kit | 0 USD");
        row("currency upper-cased", {{"currency", "eur"}}, "sale Framer Kit | 1071 EUR");
        row("no currency", {{"currency", none}}, sale);
        row("no time", {{"created_at", none}}, "");
        row("date only", {{"created_at", "2026-12-05"}}, "");
        row("numeric id", {{"id", 3}}, "");
    }

    void orderMapping()
    {
        QFETCH(QJsonObject, element);
        QFETCH(QString, expected);
        TestHttp t;
        t.server.on("GET", ordersPath, ScriptedResponse::json(list({element})));
        const QList<SaleEvent> events =
            runTask(PolarSource::fetch(t.context(), token, {}, account, since));
        QCOMPARE(events.size(), expected.isEmpty() ? 0 : 1);
        for (const SaleEvent &e : events) {
            QCOMPARE(QStringLiteral("%1 %2 | %3 %4")
                         .arg(SaleEvent::kindName(e.kind), e.title)
                         .arg(e.amount->minor)
                         .arg(e.amount->currency),
                     expected);
            QCOMPARE(e.id, "o");
            QCOMPARE(e.at, QDateTime(QDate(2026, 12, 5), QTime(9, 41, 12, 519), Qt::UTC));
            QCOMPARE(e.platform, Platform::Polar);
            QCOMPARE(e.account, account);
        }
    }
};

QTEST_GUILESS_MAIN(TestPolar)
#include "tst_polar.moc"
