#include "connectors/paddlepolar/PolarSource.h"
#include "support/JsonFuzz.h"
#include "support/TestHttp.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

namespace {

const QString token = QStringLiteral("polar_oat_5vYq2mJc0aXkR8tN3bL7wZ1dF6hG4sP9eU2iO0yT");
const QUuid account = QUuid::fromString(QStringLiteral("{c3f1b2a4-7e6d-4f5a-9b8c-1d2e3f4a5b6c}"));
const QDateTime since(QDate(2026, 12, 5), QTime(0, 0), Qt::UTC);
const QString live = QStringLiteral("api.polar.sh");
const QString sandbox = QStringLiteral("sandbox-api.polar.sh");
const QString ordersPath = QStringLiteral("/v1/orders/");

using Changes = QList<std::pair<QString, QJsonValue>>;
using Query = QList<std::pair<QString, QString>>;

// A paid one-off order as Polar lists it; an undefined value removes a field.
QJsonObject order(const QString &id, const Changes &changes = {})
{
    QJsonObject o{
        {"id", id}, {"created_at", "2026-12-05T09:41:12.519Z"}, {"modified_at", "2026-12-05T09:41:13Z"},
        {"status", "paid"}, {"paid", true}, {"subtotal_amount", 1000}, {"discount_amount", 100},
        {"net_amount", 900}, {"tax_amount", 171}, {"total_amount", 1071}, {"refunded_amount", 0},
        {"currency", "usd"}, {"billing_reason", "purchase"}, {"customer_id", "992fae2a-2a17-4b7a-8d9d-e8f32c59f3b0"},
        {"product_id", "e0f3b2c1-5d4a-4e3b-9c8d-7f6e5d4c3b2a"}, {"subscription_id", QJsonValue::Null},
        {"product", QJsonObject{{"id", "e0f3b2c1-5d4a-4e3b-9c8d-7f6e5d4c3b2a"}, {"name", "Framer Kit"},
                                {"is_recurring", false}, {"is_archived", false}}},
        {"items", QJsonArray{QJsonObject{{"label", "Framer Kit Pro"}, {"amount", 1000}, {"tax_amount", 171},
                                         {"proration", false}}}}};
    for (const auto &[name, value] : changes)
        o.insert(name, value);
    return o;
}

QByteArray list(const QJsonArray &items)
{
    return QJsonDocument(QJsonObject{{"items", items},
                                     {"pagination", QJsonObject{{"total_count", items.size()}, {"max_page", 1}}}})
        .toJson(QJsonDocument::Compact);
}

const QByteArray invalidToken = R"({"error":"invalid_token","error_description":"The access token provided is expired, revoked, malformed, or invalid for other reasons."})";
const QString invalidTokenSentence = QStringLiteral("Polar: The access token provided is expired, revoked, malformed, or invalid for other reasons.");

QStringList hosts(const FakePlatformServer &server)
{
    QStringList list;
    for (const RecordedRequest &r : server.requests())
        list.append(r.host());
    return list;
}

}

class TestPolar : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void verifyFindsTheEnvironment_data();
    void verifyFindsTheEnvironment();
    void fetchRouting_data();
    void fetchRouting();
    void orderMapping_data();
    void orderMapping();
    void dashboardLinks();
    void damagedBodies();
};

void TestPolar::verifyFindsTheEnvironment_data()
{
    QTest::addColumn<int>("liveStatus");
    QTest::addColumn<int>("sandboxStatus");
    QTest::addColumn<QString>("outcome"); // the label, or the failure
    QTest::addColumn<QStringList>("asked");
    QTest::newRow("live token") << 200 << 200 << "Polar" << QStringList{live};
    QTest::newRow("sandbox token") << 401 << 200 << "Polar (sandbox)" << QStringList{live, sandbox};
    QTest::newRow("live down, sandbox answers") << 503 << 200 << "Polar (sandbox)" << QStringList{live, sandbox};
    QTest::newRow("both refuse: the sandbox's error") << 500 << 401 << invalidTokenSentence << QStringList{live, sandbox};
}

void TestPolar::verifyFindsTheEnvironment()
{
    QFETCH(int, liveStatus);
    QFETCH(int, sandboxStatus);
    QFETCH(QString, outcome);
    QFETCH(QStringList, asked);
    TestHttp t;
    const auto answer = [](int status) {
        return ScriptedResponse::json(status == 200 ? list({order("o1")}) : invalidToken, status);
    };
    t.server.on("GET", ordersPath, answer(liveStatus), live);
    t.server.on("GET", ordersPath, answer(sandboxStatus), sandbox);

    QString result;
    try {
        result = runTask(PolarSource::verify(t.context(), token, {}));
    } catch (const Failure &failure) {
        result = failure.description();
    }
    QCOMPARE(result, outcome);
    QCOMPARE(hosts(t.server), asked);
    for (const RecordedRequest &r : t.server.requests()) {
        QCOMPARE(r.path, ordersPath);
        QCOMPARE(r.query, (Query{{"limit", "1"}}));
        QCOMPARE(r.header("Authorization"), "Bearer " + token.toUtf8());
        QCOMPARE(r.header("Accept"), "application/json");
    }
}

void TestPolar::fetchRouting_data()
{
    QTest::addColumn<Extra>("extra");
    QTest::addColumn<int>("liveStatus");
    QTest::addColumn<int>("sandboxStatus");
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<QString>("failure"); // empty when the fetch succeeds
    QTest::newRow("live account") << Extra{} << 200 << 500 << QStringList{live} << "";
    QTest::newRow("sandbox account goes straight there") << Extra{{"sandbox", "1"}} << 500 << 200 << QStringList{sandbox} << "";
    QTest::newRow("sandbox flag must be exactly 1") << Extra{{"sandbox", "true"}} << 200 << 500 << QStringList{live} << "";
    QTest::newRow("live fails: sandbox retry") << Extra{} << 502 << 200 << QStringList{live, sandbox} << "";
    QTest::newRow("both fail: the retry's error") << Extra{} << 429 << 401 << QStringList{live, sandbox} << invalidTokenSentence;
    QTest::newRow("sandbox account retried once") << Extra{{"sandbox", "1"}} << 200 << 503 << QStringList{sandbox, sandbox}
                                                  << "Polar answered 503";
}

void TestPolar::fetchRouting()
{
    QFETCH(Extra, extra);
    QFETCH(int, liveStatus);
    QFETCH(int, sandboxStatus);
    QFETCH(QStringList, asked);
    QFETCH(QString, failure);
    TestHttp t;
    const QByteArray orders = list({order("o2"), order("o1", {{"billing_reason", "subscription_cycle"}})});
    t.server.on("GET", ordersPath, ScriptedResponse::json(liveStatus == 200 ? orders : invalidToken, liveStatus), live);
    t.server.on("GET", ordersPath, ScriptedResponse::json(sandboxStatus == 200 ? orders : invalidToken, sandboxStatus), sandbox);

    if (failure.isEmpty()) {
        const QList<SaleEvent> events = runTask(PolarSource::fetch(t.context(), token, extra, account, since));
        QCOMPARE(events.size(), 2);
        QCOMPARE(events[0].id, "o2"); // newest first, as listed
        QCOMPARE(events[1].kind, SaleEvent::Kind::Renewal);
    } else {
        QCOMPARE(failureOf(PolarSource::fetch(t.context(), token, extra, account, since)), failure);
    }
    QCOMPARE(hosts(t.server), asked);
    const Query query{{"created_after", "2026-12-05T00:00:00Z"}, {"sorting", "-created_at"}, {"limit", "100"}};
    for (const RecordedRequest &r : t.server.requests()) {
        QCOMPARE(r.path, ordersPath);
        QCOMPARE(r.query, query);
    }
}

void TestPolar::orderMapping_data()
{
    QTest::addColumn<QJsonObject>("element");
    QTest::addColumn<QString>("kind"); // "" when nothing is reported
    QTest::addColumn<QString>("title");
    QTest::addColumn<qint64>("minor");
    QTest::addColumn<QString>("currency");
    const QJsonValue none(QJsonValue::Undefined);
    QTest::newRow("paid") << order("o") << "sale" << "Framer Kit" << qint64(1071) << "USD";
    QTest::newRow("pending but paid") << order("o", {{"status", "pending"}}) << "sale" << "Framer Kit" << qint64(1071) << "USD";
    QTest::newRow("paid status, flag false") << order("o", {{"paid", false}}) << "sale" << "Framer Kit" << qint64(1071) << "USD";
    QTest::newRow("neither") << order("o", {{"status", "pending"}, {"paid", false}}) << "" << "" << qint64(0) << "";
    QTest::newRow("paid flag as text") << order("o", {{"status", "refunded"}, {"paid", "true"}}) << "" << "" << qint64(0) << "";
    QTest::newRow("renewal") << order("o", {{"billing_reason", "subscription_cycle"}}) << "renewal" << "Framer Kit" << qint64(1071) << "USD";
    QTest::newRow("subscription start is a sale") << order("o", {{"billing_reason", "subscription_create"}}) << "sale" << "Framer Kit" << qint64(1071) << "USD";
    QTest::newRow("item label") << order("o", {{"product", none}}) << "sale" << "Framer Kit Pro" << qint64(1071) << "USD";
    QTest::newRow("no names") << order("o", {{"product", QJsonValue::Null}, {"items", QJsonArray{QJsonObject{{"label", 4}}}}})
                              << "sale" << "Polar order" << qint64(1071) << "USD";
    QTest::newRow("net amount") << order("o", {{"total_amount", none}}) << "sale" << "Framer Kit" << qint64(900) << "USD";
    QTest::newRow("fractional total skipped") << order("o", {{"total_amount", 10.5}}) << "sale" << "Framer Kit" << qint64(900) << "USD";
    QTest::newRow("plain amount") << order("o", {{"total_amount", none}, {"net_amount", "900"}, {"amount", 450}})
                                  << "sale" << "Framer Kit" << qint64(450) << "USD";
    QTest::newRow("no amount") << order("o", {{"total_amount", none}, {"net_amount", none}}) << "sale" << "Framer Kit" << qint64(0) << "USD";
    QTest::newRow("currency upper-cased") << order("o", {{"currency", "eur"}}) << "sale" << "Framer Kit" << qint64(1071) << "EUR";
    QTest::newRow("no currency") << order("o", {{"currency", none}}) << "sale" << "Framer Kit" << qint64(1071) << "USD";
    QTest::newRow("no time") << order("o", {{"created_at", none}}) << "" << "" << qint64(0) << "";
    QTest::newRow("date only") << order("o", {{"created_at", "2026-12-05"}}) << "" << "" << qint64(0) << "";
    QTest::newRow("numeric id") << order("o", {{"id", 3}}) << "" << "" << qint64(0) << "";
}

void TestPolar::orderMapping()
{
    QFETCH(QJsonObject, element);
    QFETCH(QString, kind);
    QFETCH(QString, title);
    QFETCH(qint64, minor);
    QFETCH(QString, currency);
    TestHttp t;
    t.server.on("GET", ordersPath, ScriptedResponse::json(list({element})));
    const QList<SaleEvent> events = runTask(PolarSource::fetch(t.context(), token, {}, account, since));
    if (kind.isEmpty()) {
        QVERIFY(events.isEmpty());
        return;
    }
    QCOMPARE(events.size(), 1);
    const SaleEvent &e = events.first();
    QCOMPARE(e.id, "o");
    QCOMPARE(SaleEvent::kindName(e.kind), kind);
    QCOMPARE(e.title, title);
    QCOMPARE(e.amount, (Money{minor, currency}));
    QCOMPARE(e.at, QDateTime(QDate(2026, 12, 5), QTime(9, 41, 12, 519), Qt::UTC));
    QCOMPARE(e.platform, Platform::Polar);
    QCOMPARE(e.account, account);
}

void TestPolar::dashboardLinks()
{
    const QUrl liveDashboard("https://polar.sh/dashboard");
    const QUrl sandboxDashboard("https://sandbox.polar.sh/dashboard");
    QCOMPARE(PolarSource::dashboard({}, "Polar"), liveDashboard);
    QCOMPARE(PolarSource::dashboard({}, "Polar (sandbox)"), sandboxDashboard);
    QCOMPARE(PolarSource::dashboard({{"sandbox", "1"}}, "Polar"), sandboxDashboard);
}

void TestPolar::damagedBodies()
{
    const QByteArray sample = list({order("o1"), order("o2", {{"billing_reason", "subscription_cycle"}, {"currency", "eur"}}),
                                    order("o3", {{"status", "pending"}, {"paid", false}})});
    TestHttp t;
    const auto outcomes = JsonFuzz::feed(JsonFuzz::variants(sample, 300, 71), account, [&](const QByteArray &body) {
        t.server.reset();
        t.server.on("GET", ordersPath, ScriptedResponse::json(body));
    }, [&] { return PolarSource::fetch(t.context(), token, {}, account, since); });
    QCOMPARE(outcomes.faults, 0);
    QVERIFY(outcomes.events > 0 && outcomes.failures > 0);
}

QTEST_GUILESS_MAIN(TestPolar)
#include "tst_polar.moc"
