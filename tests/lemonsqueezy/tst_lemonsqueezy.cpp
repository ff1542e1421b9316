#include "connectors/lemonsqueezy/LemonSqueezySource.h"
#include "support/JsonFuzz.h"
#include "support/TestHttp.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

namespace {

const QString key = QStringLiteral("eyJ0eXAiOiJKV1QiLCJhbGciOiJSUzI1NiJ9.ls-test");
const QUuid account = QUuid::fromString(QStringLiteral("{6a1c4a52-1b43-4c5e-9a77-0f3f1d1e2b10}"));
const QDateTime since(QDate(2026, 12, 5), QTime(0, 0), Qt::UTC);

// Attribute changes; an undefined value removes the attribute.
using Changes = QList<std::pair<QString, QJsonValue>>;

QJsonObject order(const QString &id, const QString &createdAt, const Changes &changes = {})
{
    QJsonObject attributes{
        {"store_id", 1}, {"customer_id", 88}, {"identifier", "104e18a2-d755-4d4b-80c4-a6c1dcbe1c10"},
        {"order_number", 1042}, {"user_name", "Jane Doe"}, {"user_email", "jane@example.com"},
        {"currency", "USD"}, {"currency_rate", "1.0000"}, {"subtotal", 999}, {"discount_total", 0},
        {"tax", 200}, {"total", 1199}, {"tax_name", "VAT"}, {"status", "paid"}, {"status_formatted", "Paid"},
        {"refunded", false}, {"refunded_at", QJsonValue::Null}, {"total_formatted", "$11.99"},
        {"first_order_item", QJsonObject{{"id", 1}, {"order_id", 1}, {"product_id", 7}, {"variant_id", 9},
                                         {"product_name", "Icon Pack"}, {"variant_name", "Default"},
                                         {"price", 999}, {"test_mode", false}}},
        {"urls", QJsonObject{{"receipt", "https://app.lemonsqueezy.com/my-orders/104e18a2/receipt"}}},
        {"created_at", createdAt}, {"updated_at", createdAt}, {"test_mode", false}};
    for (const auto &[name, value] : changes)
        attributes.insert(name, value);
    return {{"type", "orders"}, {"id", id}, {"attributes", attributes},
            {"links", QJsonObject{{"self", QString("https://api.lemonsqueezy.com/v1/orders/" + id)}}}};
}

QJsonObject invoice(const QString &id, const QString &createdAt, const Changes &changes = {})
{
    QJsonObject attributes{
        {"store_id", 1}, {"subscription_id", 31}, {"customer_id", 88}, {"user_name", "Jane Doe"},
        {"billing_reason", "renewal"}, {"card_brand", "visa"}, {"card_last_four", "4242"},
        {"currency", "EUR"}, {"currency_rate", "1.08"}, {"status", "paid"}, {"status_formatted", "Paid"},
        {"refunded", false}, {"subtotal", 900}, {"discount_total", 0}, {"tax", 171}, {"total", 1071},
        {"product_name", "Pro Plan"}, {"created_at", createdAt}, {"updated_at", createdAt}, {"test_mode", false}};
    for (const auto &[name, value] : changes)
        attributes.insert(name, value);
    return {{"type", "subscription-invoices"}, {"id", id}, {"attributes", attributes}};
}

QByteArray page(const QJsonArray &data, int number = 1)
{
    const QJsonObject meta{{"page", QJsonObject{{"currentPage", number}, {"perPage", 50}, {"lastPage", 9}}}};
    const QJsonObject links{{"first", "https://api.lemonsqueezy.com/v1/orders?page%5Bnumber%5D=1&page%5Bsize%5D=50"}};
    return QJsonDocument(QJsonObject{{"meta", meta}, {"jsonapi", QJsonObject{{"version", "1.0"}}},
                                     {"links", links}, {"data", data}})
        .toJson(QJsonDocument::Compact);
}

// `count` paid orders, newest first, all after `since`.
QJsonArray newOrders(int count, int firstId = 1)
{
    QJsonArray orders;
    for (int i = 0; i < count; ++i)
        orders.append(order(QString::number(firstId + i), "2026-12-05T11:" + QString::number(10 + i % 50) + ":00.000000Z"));
    return orders;
}

QList<SaleEvent> fetch(TestHttp &t)
{
    return runTask(LemonSqueezySource::fetch(t.context(), key, {}, account, since));
}

using Query = QList<std::pair<QString, QString>>;

}

class TestLemonSqueezy : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void verifyLabel_data();
    void verifyLabel();
    void verifyRejectedKey();
    void orderPaging_data();
    void orderPaging();
    void orderMapping_data();
    void orderMapping();
    void invoiceMapping_data();
    void invoiceMapping();
    void failuresFailTheWholeFetch();
    void damagedBodies();
};

void TestLemonSqueezy::verifyLabel_data()
{
    QTest::addColumn<QByteArray>("me");
    QTest::addColumn<int>("storesStatus");
    QTest::addColumn<QByteArray>("stores");
    QTest::addColumn<QString>("label");
    const QByteArray jane = R"({"data":{"type":"users","id":"1","attributes":{"name":"Jane Doe","email":"jane@example.com"}}})";
    const QByteArray nameless = R"({"data":{"type":"users","id":"1","attributes":{"email":"jane@example.com"}}})";
    const QByteArray shop = R"({"data":[{"type":"stores","id":"1","attributes":{"name":"Lemonade Stand","slug":"lemonade"}}]})";
    QTest::newRow("store name wins") << jane << 200 << shop << "Lemonade Stand";
    QTest::newRow("stores fail: user name") << jane << 500 << QByteArray(R"({"errors":[{"detail":"boom"}]})") << "Jane Doe";
    QTest::newRow("stores fail, no name") << nameless << 403 << QByteArray() << "Lemon Squeezy";
    QTest::newRow("no stores") << jane << 200 << QByteArray(R"({"data":[]})") << "Jane Doe";
    QTest::newRow("store name not text") << jane << 200 << QByteArray(R"({"data":[{"attributes":{"name":7}}]})") << "Jane Doe";
    QTest::newRow("stores not JSON") << jane << 200 << QByteArray("<html>") << "Jane Doe";
    QTest::newRow("store list not a list") << nameless << 200 << QByteArray(R"({"data":{"attributes":{"name":"X"}}})") << "Lemon Squeezy";
}

void TestLemonSqueezy::verifyLabel()
{
    QFETCH(QByteArray, me);
    QFETCH(int, storesStatus);
    QFETCH(QByteArray, stores);
    QFETCH(QString, label);
    TestHttp t;
    t.server.on("GET", "/v1/users/me", ScriptedResponse::json(me));
    t.server.on("GET", "/v1/stores", ScriptedResponse::json(stores, storesStatus));
    QCOMPARE(runTask(LemonSqueezySource::verify(t.context(), key, {})), label);

    const auto &requests = t.server.requests();
    QCOMPARE(requests.size(), 2);
    QCOMPARE(requests[0].path, "/v1/users/me");
    QCOMPARE(requests[1].path, "/v1/stores");
    for (const RecordedRequest &r : requests) {
        QCOMPARE(r.host(), "api.lemonsqueezy.com");
        QCOMPARE(r.header("Authorization"), "Bearer " + key.toUtf8());
        QCOMPARE(r.header("Accept"), "application/vnd.api+json");
        QVERIFY(r.query.isEmpty());
    }
}

void TestLemonSqueezy::verifyRejectedKey()
{
    TestHttp t;
    t.server.on("GET", "/v1/users/me",
                ScriptedResponse::json(R"({"jsonapi":{"version":"1.0"},"errors":[{"detail":"Unauthenticated.","status":"401","title":"Unauthorized"}]})", 401));
    QCOMPARE(failureOf(LemonSqueezySource::verify(t.context(), key, {})), "Lemon Squeezy: Unauthenticated.");
    t.server.reset();
    t.server.on("GET", "/v1/users/me", ScriptedResponse::json("", 401));
    QCOMPARE(failureOf(LemonSqueezySource::verify(t.context(), key, {})),
             "Lemon Squeezy rejected the key. It may have been revoked");
    QVERIFY(t.server.requestsTo("/v1/stores").isEmpty());
}

void TestLemonSqueezy::orderPaging_data()
{
    // Each page: how many new orders, and where (if anywhere) an old one sits.
    QTest::addColumn<QList<int>>("pageSizes");
    QTest::addColumn<int>("oldAt"); // index on the first page, -1 for none
    QTest::addColumn<int>("requests");
    QTest::addColumn<int>("sales");
    QTest::newRow("five full pages, no sixth") << QList<int>{50, 50, 50, 50, 50, 50} << -1 << 5 << 250;
    QTest::newRow("short page stops") << QList<int>{3} << -1 << 1 << 3;
    QTest::newRow("full then empty") << QList<int>{50, 0} << -1 << 2 << 50;
    QTest::newRow("old order on a full page stops") << QList<int>{50, 50} << 10 << 1 << 49;
    QTest::newRow("old order last on the page") << QList<int>{50, 50} << 49 << 1 << 49;
}

void TestLemonSqueezy::orderPaging()
{
    QFETCH(QList<int>, pageSizes);
    QFETCH(int, oldAt);
    QFETCH(int, requests);
    QFETCH(int, sales);
    TestHttp t;
    t.server.handle([&](const RecordedRequest &r) -> std::optional<ScriptedResponse> {
        if (r.path != u"/v1/orders")
            return std::nullopt;
        const int number = r.queryValue("page[number]").toInt();
        QJsonArray data = newOrders(pageSizes.value(number - 1), number * 100);
        if (number == 1 && oldAt >= 0)
            data[oldAt] = order("old", "2026-12-04T23:59:59.000000Z");
        return ScriptedResponse::json(page(data, number));
    });
    t.server.on("GET", "/v1/subscription-invoices", ScriptedResponse::json(page({invoice("9", "2026-12-05T10:00:00.000000Z")})));

    const QList<SaleEvent> events = fetch(t);
    QCOMPARE(events.size(), sales + 1);
    QVERIFY(std::none_of(events.begin(), events.end(), [](const SaleEvent &e) { return e.id == u"o_old"; }));
    QCOMPARE(events.last().id, "si_9"); // renewals come after the orders

    const auto orders = t.server.requestsTo("/v1/orders");
    QCOMPARE(orders.size(), requests);
    for (int i = 0; i < orders.size(); ++i)
        QCOMPARE(orders[i].query, (Query{{"page[size]", "50"}, {"page[number]", QString::number(i + 1)}}));
    const auto invoices = t.server.requestsTo("/v1/subscription-invoices");
    QCOMPARE(invoices.size(), 1);
    QCOMPARE(invoices[0].query, (Query{{"page[size]", "50"}}));
    QCOMPARE(invoices[0].header("Accept"), "application/vnd.api+json");
    QCOMPARE(t.server.requests().last().path, "/v1/subscription-invoices");
}

void TestLemonSqueezy::orderMapping_data()
{
    QTest::addColumn<QJsonObject>("element");
    QTest::addColumn<QString>("kind"); // "" when nothing is reported
    QTest::addColumn<QString>("title");
    QTest::addColumn<qint64>("minor");
    QTest::addColumn<QString>("currency");
    const QString at = QStringLiteral("2026-12-05T09:30:00.000000Z");
    const QJsonValue none(QJsonValue::Undefined);
    QTest::newRow("paid") << order("7", at) << "sale" << "Icon Pack" << qint64(1199) << "USD";
    QTest::newRow("failed keeps its amount") << order("7", at, {{"status", "failed"}}) << "failed" << "Icon Pack" << qint64(1199) << "USD";
    QTest::newRow("refunded") << order("7", at, {{"status", "refunded"}}) << "" << "" << qint64(0) << "";
    QTest::newRow("pending") << order("7", at, {{"status", "pending"}}) << "" << "" << qint64(0) << "";
    QTest::newRow("no status") << order("7", at, {{"status", none}}) << "" << "" << qint64(0) << "";
    QTest::newRow("order number title") << order("7", at, {{"first_order_item", none}}) << "sale" << "Order #1042" << qint64(1199) << "USD";
    QTest::newRow("product name not text") << order("7", at, {{"first_order_item", QJsonObject{{"product_name", 3}}}, {"order_number", "1042"}})
                                           << "sale" << "Order #0" << qint64(1199) << "USD";
    QTest::newRow("no currency") << order("7", at, {{"currency", none}}) << "sale" << "Icon Pack" << qint64(1199) << "USD";
    QTest::newRow("lower-case currency") << order("7", at, {{"currency", "eur"}}) << "sale" << "Icon Pack" << qint64(1199) << "EUR";
    QTest::newRow("total as text") << order("7", at, {{"total", "1199"}}) << "sale" << "Icon Pack" << qint64(0) << "USD";
    QTest::newRow("total with fraction") << order("7", at, {{"total", 11.99}}) << "sale" << "Icon Pack" << qint64(0) << "USD";
    QTest::newRow("time without fraction") << order("7", "2026-12-05T09:30:00Z") << "sale" << "Icon Pack" << qint64(1199) << "USD";
    QTest::newRow("unreadable time") << order("7", "2026-12-05") << "" << "" << qint64(0) << "";
    QJsonObject numericId = order("7", at);
    numericId.insert("id", 7);
    QTest::newRow("numeric id") << numericId << "" << "" << qint64(0) << "";
    QJsonObject textAttributes = order("7", at);
    textAttributes.insert("attributes", "paid");
    QTest::newRow("attributes not an object") << textAttributes << "" << "" << qint64(0) << "";
}

void TestLemonSqueezy::orderMapping()
{
    QFETCH(QJsonObject, element);
    QFETCH(QString, kind);
    QFETCH(QString, title);
    QFETCH(qint64, minor);
    QFETCH(QString, currency);
    TestHttp t;
    t.server.on("GET", "/v1/orders", ScriptedResponse::json(page({element})));
    t.server.on("GET", "/v1/subscription-invoices", ScriptedResponse::json(page({})));
    const QList<SaleEvent> events = fetch(t);
    if (kind.isEmpty()) {
        QVERIFY(events.isEmpty());
        return;
    }
    QCOMPARE(events.size(), 1);
    const SaleEvent &e = events.first();
    QCOMPARE(e.id, "o_7");
    QCOMPARE(SaleEvent::kindName(e.kind), kind);
    QCOMPARE(e.title, title);
    QCOMPARE(e.amount, (Money{minor, currency}));
    QCOMPARE(e.at, QDateTime(QDate(2026, 12, 5), QTime(9, 30), Qt::UTC));
    QCOMPARE(e.platform, Platform::LemonSqueezy);
    QCOMPARE(e.account, account);
}

void TestLemonSqueezy::invoiceMapping_data()
{
    QTest::addColumn<QJsonObject>("element");
    QTest::addColumn<QString>("kind"); // "" when nothing is reported
    QTest::addColumn<QString>("title");
    QTest::addColumn<qint64>("minor");
    QTest::addColumn<QString>("currency");
    const QString at = QStringLiteral("2026-12-05T09:30:00.000000Z");
    const QJsonValue none(QJsonValue::Undefined);
    QTest::newRow("paid renewal") << invoice("3", at) << "renewal" << "Pro Plan" << qint64(1071) << "EUR";
    QTest::newRow("pending renewal fails") << invoice("3", at, {{"status", "pending"}}) << "failed" << "Pro Plan" << qint64(1071) << "EUR";
    QTest::newRow("first invoice") << invoice("3", at, {{"billing_reason", "initial"}}) << "" << "" << qint64(0) << "";
    QTest::newRow("no billing reason") << invoice("3", at, {{"billing_reason", none}}) << "" << "" << qint64(0) << "";
    QTest::newRow("refunded renewal") << invoice("3", at, {{"status", "refunded"}}) << "" << "" << qint64(0) << "";
    QTest::newRow("no product name") << invoice("3", at, {{"product_name", none}, {"currency", "gbp"}})
                                     << "renewal" << "Subscription renewal" << qint64(1071) << "GBP";
    QTest::newRow("no currency") << invoice("3", at, {{"currency", 5}}) << "renewal" << "Pro Plan" << qint64(1071) << "USD";
    QTest::newRow("before since") << invoice("3", "2026-12-04T23:00:00.000000Z") << "" << "" << qint64(0) << "";
    QTest::newRow("no time") << invoice("3", at, {{"created_at", none}}) << "" << "" << qint64(0) << "";
}

void TestLemonSqueezy::invoiceMapping()
{
    QFETCH(QJsonObject, element);
    QFETCH(QString, kind);
    QFETCH(QString, title);
    QFETCH(qint64, minor);
    QFETCH(QString, currency);
    TestHttp t;
    t.server.on("GET", "/v1/orders", ScriptedResponse::json(page({})));
    t.server.on("GET", "/v1/subscription-invoices", ScriptedResponse::json(page({element})));
    const QList<SaleEvent> events = fetch(t);
    if (kind.isEmpty()) {
        QVERIFY(events.isEmpty());
        return;
    }
    QCOMPARE(events.size(), 1);
    const SaleEvent &e = events.first();
    QCOMPARE(e.id, "si_3");
    QCOMPARE(SaleEvent::kindName(e.kind), kind);
    QCOMPARE(e.title, title);
    QCOMPARE(e.amount, (Money{minor, currency}));
    QCOMPARE(e.account, account);
}

void TestLemonSqueezy::failuresFailTheWholeFetch()
{
    struct Case {
        bool ordersFail; // the second order page fails, else the invoices
        ScriptedResponse response;
        QString message;
    };
    const QList<Case> cases{
        {false, ScriptedResponse::json(R"({"errors":[{"detail":"Too many."}]})", 429), "Lemon Squeezy asked us to slow down"},
        {false, ScriptedResponse::json(R"({"errors":[{"detail":"Server Error"}]})", 500), "Lemon Squeezy answered 500"},
        {false, ScriptedResponse::json("<html><body>Bad gateway</body></html>"), "Lemon Squeezy sent an answer that isn't valid JSON"},
        {true, ScriptedResponse::json(R"({"errors":[{"status":"403","title":"Forbidden"}]})", 403), "Lemon Squeezy: Forbidden"},
    };
    for (const Case &c : cases) {
        TestHttp t;
        const ScriptedResponse shortPage = ScriptedResponse::json(page(newOrders(5, 60)));
        t.server.on("GET", "/v1/orders", ScriptedResponse::json(page(newOrders(50))));
        t.server.on("GET", "/v1/orders", c.ordersFail ? c.response : shortPage);
        t.server.on("GET", "/v1/subscription-invoices", c.ordersFail ? ScriptedResponse::json(page({})) : c.response);
        const QString failure = failureOf(LemonSqueezySource::fetch(t.context(), key, {}, account, since));
        QVERIFY2(failure.startsWith(c.message), qPrintable(failure));
        QCOMPARE(t.server.requestsTo("/v1/orders").size(), 2);
        QCOMPARE(t.server.requestsTo("/v1/subscription-invoices").size(), c.ordersFail ? 0 : 1);
    }
}

void TestLemonSqueezy::damagedBodies()
{
    QJsonArray orders = newOrders(4);
    orders.append(order("f", "2026-12-05T08:00:00.000000Z", {{"status", "failed"}}));
    const QByteArray orderPage = page(orders);
    const QByteArray invoicePage = page({invoice("1", "2026-12-05T10:00:00.000000Z"),
                                         invoice("2", "2026-12-05T09:00:00.000000Z", {{"status", "pending"}})});
    TestHttp t;
    const auto run = [&] { return LemonSqueezySource::fetch(t.context(), key, {}, account, since); };

    const auto onOrders = JsonFuzz::feed(JsonFuzz::variants(orderPage, 200, 81), account, [&](const QByteArray &body) {
        t.server.reset();
        t.server.on("GET", "/v1/orders", ScriptedResponse::json(body));
        t.server.on("GET", "/v1/subscription-invoices", ScriptedResponse::json(invoicePage));
    }, run);
    const auto onInvoices = JsonFuzz::feed(JsonFuzz::variants(invoicePage, 150, 82), account, [&](const QByteArray &body) {
        t.server.reset();
        t.server.on("GET", "/v1/orders", ScriptedResponse::json(orderPage));
        t.server.on("GET", "/v1/subscription-invoices", ScriptedResponse::json(body));
    }, run);
    for (const auto &o : {onOrders, onInvoices}) {
        QCOMPARE(o.faults, 0);
        QVERIFY(o.events > 0 && o.failures > 0);
    }
}

QTEST_GUILESS_MAIN(TestLemonSqueezy)
#include "tst_lemonsqueezy.moc"
