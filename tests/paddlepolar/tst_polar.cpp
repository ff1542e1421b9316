#include "connectors/paddlepolar/PolarSource.h"
#include "core/EventStore.h"
#include "support/Fixture.h"
#include "support/JsonFuzz.h"
#include "support/TestHttp.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString token = QStringLiteral("polar_oat_5vYq2mJc0aXkR8tN3bL7wZ1dF6hG4sP9eU2iO0yT");
const QUuid account = QUuid::fromString(QStringLiteral("{c3f1b2a4-7e6d-4f5a-9b8c-1d2e3f4a5b6c}"));
const QDateTime since(QDate(2026, 12, 5), QTime(0, 0), Qt::UTC);
const QString live = QStringLiteral("api.polar.sh");
const QString sandbox = QStringLiteral("sandbox-api.polar.sh");
const QString ordersPath = QStringLiteral("/v1/orders/");
using Changes = QList<std::pair<QString, QJsonValue>>; // an undefined value removes the field
using Query = QList<std::pair<QString, QString>>;
const QByteArray invalidToken =
    R"({"error":"invalid_token","error_description":"The access token is expired or revoked."})";

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

// Each host answers the orders, or refuses with `status`.
void serve(FakePlatformServer &server, int liveStatus, int sandboxStatus)
{
    const QByteArray orders =
        list({order("o2"), order("o1", {{"billing_reason", "subscription_cycle"}})});
    server.on("GET", ordersPath,
              ScriptedResponse::json(liveStatus == 200 ? orders : invalidToken, liveStatus), live);
    server.on("GET", ordersPath,
              ScriptedResponse::json(sandboxStatus == 200 ? orders : invalidToken, sandboxStatus),
              sandbox);
}

QString labelOrFailure(QCoro::Task<QString> task)
{
    try {
        return runTask(std::move(task));
    } catch (const Failure &failure) {
        return failure.description();
    }
}

QStringList hosts(const FakePlatformServer &server)
{
    QStringList asked;
    for (const RecordedRequest &r : server.requests())
        asked.append(r.host());
    return asked;
}

}

class TestPolar : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void verifyFindsTheEnvironment_data()
    {
        QTest::addColumn<int>("liveStatus");
        QTest::addColumn<int>("sandboxStatus");
        QTest::addColumn<QString>("outcome"); // the label, or the failure
        QTest::addColumn<QStringList>("asked");
        QTest::newRow("live token") << 200 << 200 << "Polar" << QStringList{live};
        QTest::newRow("sandbox token")
            << 401 << 200 << "Polar (sandbox)" << QStringList{live, sandbox};
    }

    void verifyFindsTheEnvironment()
    {
        QFETCH(int, liveStatus);
        QFETCH(int, sandboxStatus);
        QFETCH(QString, outcome);
        QFETCH(QStringList, asked);
        TestHttp t;
        serve(t.server, liveStatus, sandboxStatus);
        QCOMPARE(labelOrFailure(PolarSource::verify(t.context(), token, {})), outcome);
        QCOMPARE(hosts(t.server), asked);
        for (const RecordedRequest &r : t.server.requests()) {
            QCOMPARE(r.rawTarget, "/v1/orders/?limit=1");
            QCOMPARE(r.header("Authorization"), "Bearer " + token.toUtf8());
            QCOMPARE(r.header("Accept"), "application/json");
        }
        // The dashboard follows the label, or the account's sandbox flag.
        QCOMPARE(PolarSource::dashboard({}, outcome),
                 QUrl(outcome == "Polar (sandbox)" ? "https://sandbox.polar.sh/dashboard"
                                                   : "https://polar.sh/dashboard"));
        QCOMPARE(PolarSource::dashboard({{"sandbox", "1"}}, "Polar"),
                 QUrl("https://sandbox.polar.sh/dashboard"));
    }

    void fetchRouting_data()
    {
        QTest::addColumn<Extra>("extra");
        QTest::addColumn<int>("liveStatus");
        QTest::addColumn<int>("sandboxStatus");
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<QString>("failure"); // empty when the fetch succeeds
        QTest::newRow("live account") << Extra{} << 200 << 500 << QStringList{live} << "";
        QTest::newRow("sandbox account goes straight there")
            << Extra{{"sandbox", "1"}} << 500 << 200 << QStringList{sandbox} << "";
        QTest::newRow("sandbox flag must be exactly 1")
            << Extra{{"sandbox", "true"}} << 200 << 500 << QStringList{live} << "";
        QTest::newRow("live fails: sandbox retry")
            << Extra{} << 502 << 200 << QStringList{live, sandbox} << "";
    }

    void fetchRouting()
    {
        QFETCH(Extra, extra);
        QFETCH(int, liveStatus);
        QFETCH(int, sandboxStatus);
        QFETCH(QStringList, asked);
        QFETCH(QString, failure);
        TestHttp t;
        serve(t.server, liveStatus, sandboxStatus);
        if (failure.isEmpty()) {
            const QList<SaleEvent> events =
                runTask(PolarSource::fetch(t.context(), token, extra, account, since));
            QCOMPARE(events.size(), 2);
            QCOMPARE(events[0].id, "o2"); // newest first, as listed
            QCOMPARE(events[1].kind, SaleEvent::Kind::Renewal);
        } else {
            QCOMPARE(failureOf(PolarSource::fetch(t.context(), token, extra, account, since)),
                     failure);
        }
        // After the new orders, renewals of the last three days, from the host that answered.
        const Query query{{"created_after", "2026-12-05T00:00:00Z"},
                          {"sorting", "-created_at"},
                          {"limit", "100"}};
        const Query late{{"created_after", "2026-12-02T00:00:00Z"},
                         {"product_billing_type", "recurring"},
                         {"sorting", "-created_at"},
                         {"limit", "100"}};
        QList<RecordedRequest> rs = t.server.requests();
        if (failure.isEmpty()) {
            QCOMPARE(rs.takeLast().query, late);
            QCOMPARE(t.server.requests().last().host(), asked.last());
        }
        QCOMPARE(hosts(t.server).mid(0, rs.size()), asked);
        for (const RecordedRequest &r : rs) {
            QCOMPARE(r.path, ordersPath);
            QCOMPARE(r.query, query);
        }
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
        QTest::addColumn<QString>(
            "expected"); // kind title | minor currency; empty when nothing is reported
        const QJsonValue none(QJsonValue::Undefined);
        QTest::newRow("paid") << order("o") << "sale Framer Kit | 1071 USD";
        QTest::newRow("pending but paid")
            << order("o", {{"status", "pending"}}) << "sale Framer Kit | 1071 USD";
        QTest::newRow("paid status, flag false")
            << order("o", {{"paid", false}}) << "sale Framer Kit | 1071 USD";
        QTest::newRow("neither") << order("o", {{"status", "pending"}, {"paid", false}}) << "";
        QTest::newRow("paid flag as text")
            << order("o", {{"status", "refunded"}, {"paid", "true"}}) << "";
        QTest::newRow("renewal") << order("o", {{"billing_reason", "subscription_cycle"}})
                                 << "renewal Framer Kit | 1071 USD";
        QTest::newRow("metered cycle")
            << order("o", {{"billing_reason", "subscription_meter_cycle"}})
            << "renewal Framer Kit | 1071 USD";
        QTest::newRow("subscription start is a sale")
            << order("o", {{"billing_reason", "subscription_create"}})
            << "sale Framer Kit | 1071 USD";
        QTest::newRow("item label")
            << order("o", {{"product", none}}) << "sale Framer Kit Pro | 1071 USD";
        QTest::newRow("no names") << order(
            "o", {{"product", QJsonValue::Null}, {"items", QJsonArray{QJsonObject{{"label", 4}}}}})
                                  << "sale Polar order | 1071 USD";
        QTest::newRow("net amount")
            << order("o", {{"total_amount", none}}) << "sale Framer Kit | 900 USD";
        QTest::newRow("fractional total skipped")
            << order("o", {{"total_amount", 10.5}}) << "sale Framer Kit | 900 USD";
        QTest::newRow("plain amount")
            << order("o", {{"total_amount", none}, {"net_amount", "900"}, {"amount", 450}})
            << "sale Framer Kit | 450 USD";
        QTest::newRow("no amount") << order("o", {{"total_amount", none}, {"net_amount", none}})
                                   << "sale Framer Kit | 0 USD";
        QTest::newRow("currency upper-cased")
            << order("o", {{"currency", "eur"}}) << "sale Framer Kit | 1071 EUR";
        QTest::newRow("no currency")
            << order("o", {{"currency", none}}) << "sale Framer Kit | 1071 USD";
        QTest::newRow("no time") << order("o", {{"created_at", none}}) << "";
        QTest::newRow("date only") << order("o", {{"created_at", "2026-12-05"}}) << "";
        QTest::newRow("numeric id") << order("o", {{"id", 3}}) << "";
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

    void damagedBodies()
    {
        const QByteArray sample =
            list({order("o1"),
                  order("o2", {{"billing_reason", "subscription_cycle"}, {"currency", "eur"}}),
                  order("o3", {{"status", "pending"}, {"paid", false}})});
        TestHttp t;
        const auto outcomes = JsonFuzz::feed(
            JsonFuzz::variants(sample, 300, 71), account,
            [&](const QByteArray &body) {
                t.server.reset();
                t.server.on("GET", ordersPath, ScriptedResponse::json(body));
            },
            [&] { return PolarSource::fetch(t.context(), token, {}, account, since); });
        QCOMPARE(outcomes.faults, 0);
        QVERIFY(outcomes.events > 0 && outcomes.failures > 0);
    }
};

QTEST_GUILESS_MAIN(TestPolar)
#include "tst_polar.moc"
