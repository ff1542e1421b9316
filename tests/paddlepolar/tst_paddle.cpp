#include "connectors/paddlepolar/PaddleEvents.h"
#include "connectors/paddlepolar/PaddleSource.h"
#include "support/JsonFuzz.h"
#include "support/TestHttp.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

namespace {

const QString liveKey = QStringLiteral("pdl_live_apikey_01gtgztp8f4kek3yd4g1wrksa3_q6TGTJyvoIz7LDtXT65bX7_AQO");
const QString sandboxKey = QStringLiteral("pdl_sdbx_apikey_01gtgztp8f4kek3yd4g1wrksa3_q6TGTJyvoIz7LDtXT65bX7_AQO");
const QUuid account = QUuid::fromString(QStringLiteral("{0d6e9f4c-3b0a-4a8e-8d1e-5b7f2a9c4e21}"));
const QDateTime since(QDate(2026, 12, 5), QTime(6, 56, 57, 500), Qt::UTC);

using Changes = QList<std::pair<QString, QJsonValue>>;
using Query = QList<std::pair<QString, QString>>;

QJsonObject lineItem(const QJsonValue &name)
{
    return {{"id", "txnitm_01hv8wt98jahpbm1t1tzr06z6n"}, {"price_id", "pri_01gsz8x8sawmvhz1pv30nge1ke"},
            {"quantity", 1},
            {"totals", QJsonObject{{"subtotal", "2101"}, {"tax", "399"}, {"discount", "0"}, {"total", "2500"}}},
            {"product", QJsonObject{{"id", "pro_01gsz4t5hdjse780zja8vvr7jg"}, {"name", name},
                                    {"type", "standard"}, {"tax_category", "standard"}, {"status", "active"}}}};
}

// A completed one-off transaction as Paddle lists it; changes apply at the
// top level (an undefined value removes a field).
QJsonObject transaction(const QString &id, const Changes &changes = {}, const QJsonValue &grandTotal = "2500",
                        const QJsonArray &items = {lineItem("Analytics addon")})
{
    const QJsonObject totals{{"subtotal", "2101"}, {"tax", "399"}, {"discount", "0"}, {"total", "2500"},
                             {"grand_total", grandTotal}, {"fee", "175"}, {"earnings", "1926"}, {"currency_code", "EUR"}};
    QJsonObject details{{"tax_rates_used", QJsonArray{QJsonObject{{"tax_rate", "0.19"}}}}, {"totals", totals},
                        {"line_items", items}};
    if (grandTotal.isUndefined())
        details.insert("totals", QJsonObject{{"subtotal", "2101"}});
    QJsonObject t{{"id", id}, {"status", "completed"}, {"customer_id", "ctm_01hv6y1jedq4p1n0yqn5ba3ky4"},
                  {"address_id", "add_01hv8gq3318ktkfengj2r75gfx"}, {"business_id", QJsonValue::Null},
                  {"custom_data", QJsonValue::Null}, {"currency_code", "EUR"}, {"origin", "web"},
                  {"subscription_id", QJsonValue::Null}, {"invoice_number", "325-10566"},
                  {"collection_mode", "automatic"}, {"details", details},
                  {"created_at", "2026-12-05T10:12:33.2014Z"}, {"updated_at", "2026-12-05T10:13:11.836804Z"},
                  {"billed_at", "2026-12-05T10:13:10.584806Z"}};
    for (const auto &[name, value] : changes)
        t.insert(name, value);
    return t;
}

QByteArray page(const QJsonArray &data, const QJsonValue &hasMore = false)
{
    QJsonObject pagination{{"per_page", 30}, {"estimated_total", 290}, {"has_more", hasMore}};
    if (!data.isEmpty())
        pagination.insert("next", QString("https://api.paddle.com/transactions?after=" + data.last()["id"].toString()));
    return QJsonDocument(QJsonObject{{"data", data},
                                     {"meta", QJsonObject{{"request_id", "c2a4e5d1-9f3b-4b8e-a5e1-7d7e0c6b2f10"},
                                                          {"pagination", pagination}}}})
        .toJson(QJsonDocument::Compact);
}

QJsonArray fullPage(int number)
{
    QJsonArray data;
    for (int i = 0; i < PaddleSource::pageSize; ++i)
        data.append(transaction(QStringLiteral("txn_%1_%2").arg(number).arg(i)));
    return data;
}

}

class TestPaddle : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void environments_data();
    void environments();
    void pagesFollowTheCursor();
    void stopRules_data();
    void stopRules();
    void transactionMapping_data();
    void transactionMapping();
    void minorUnitsText_data();
    void minorUnitsText();
    void failures();
    void dashboardLinks();
    void damagedBodies();
};

void TestPaddle::environments_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("label");
    QTest::newRow("live") << liveKey << "api.paddle.com" << "Paddle";
    QTest::newRow("sandbox") << sandboxKey << "sandbox-api.paddle.com" << "Paddle (sandbox)";
    QTest::newRow("sdbx anywhere") << "apikey_xsdbxy" << "sandbox-api.paddle.com" << "Paddle (sandbox)";
}

void TestPaddle::environments()
{
    QFETCH(QString, key);
    QFETCH(QString, host);
    QFETCH(QString, label);
    TestHttp t;
    t.server.on("GET", "/transactions", ScriptedResponse::json(page({transaction("txn_1")})));
    QCOMPARE(runTask(PaddleSource::verify(t.context(), key, {})), label);
    QCOMPARE(runTask(PaddleSource::fetch(t.context(), key, {}, account, since)).size(), 1);

    const auto &requests = t.server.requests();
    QCOMPARE(requests.size(), 2);
    QCOMPARE(requests[0].query, (Query{{"per_page", "1"}}));
    for (const RecordedRequest &r : requests) {
        QCOMPARE(r.host(), host);
        QCOMPARE(r.path, "/transactions");
        QCOMPARE(r.header("Paddle-Version"), "1");
        QCOMPARE(r.header("Authorization"), "Bearer " + key.toUtf8());
        QCOMPARE(r.header("Accept"), "application/json");
    }
}

void TestPaddle::pagesFollowTheCursor()
{
    TestHttp t;
    int served = 0;
    t.server.handle([&](const RecordedRequest &) { return ScriptedResponse::json(page(fullPage(++served), true)); });
    const QList<SaleEvent> events = runTask(PaddleSource::fetch(t.context(), sandboxKey, {}, account, since));

    QCOMPARE(events.size(), 150);
    QCOMPARE(events.first().id, "txn_1_0");
    QCOMPARE(events.last().id, "txn_5_29");
    const auto &requests = t.server.requests();
    QCOMPARE(requests.size(), PaddleSource::pageLimit);
    const Query filter{{"updated_at[GT]", "2026-12-05T06:56:57Z"}, {"order_by", "updated_at[ASC]"}, {"per_page", "30"}};
    QCOMPARE(requests[0].query, filter);
    for (int i = 1; i < requests.size(); ++i) {
        Query expected = filter;
        expected.append({"after", QStringLiteral("txn_%1_29").arg(i)});
        QCOMPARE(requests[i].query, expected);
        QCOMPARE(requests[i].host(), "sandbox-api.paddle.com");
    }
}

void TestPaddle::stopRules_data()
{
    QTest::addColumn<QByteArray>("first");
    QTest::addColumn<int>("requests");
    QJsonObject numericId = transaction("txn_2");
    numericId.insert("id", 2);
    QTest::newRow("has_more false") << page({transaction("txn_1")}, false) << 1;
    QTest::newRow("has_more as text") << page({transaction("txn_1")}, "true") << 1;
    QTest::newRow("no data but more") << page({}, true) << 1;
    QTest::newRow("last id not text") << page({transaction("txn_1"), numericId}, true) << 1;
    QTest::newRow("last element not an object") << page({transaction("txn_1"), 5}, true) << 1;
    QTest::newRow("no meta") << QByteArray(R"({"data":[{"id":"txn_1","status":"paid"}]})") << 1;
    QTest::newRow("one more page") << page({transaction("txn_1")}, true) << 2;
}

void TestPaddle::stopRules()
{
    QFETCH(QByteArray, first);
    QFETCH(int, requests);
    TestHttp t;
    t.server.on("GET", "/transactions", ScriptedResponse::json(first));
    t.server.on("GET", "/transactions", ScriptedResponse::json(page({transaction("txn_9")}, false)));
    runTask(PaddleSource::fetch(t.context(), liveKey, {}, account, since));
    QCOMPARE(t.server.requests().size(), requests);
    if (requests == 2)
        QCOMPARE(t.server.requests().last().queryValue("after"), "txn_1");
}

void TestPaddle::transactionMapping_data()
{
    QTest::addColumn<QJsonObject>("element");
    QTest::addColumn<QString>("kind"); // "" when nothing is reported
    QTest::addColumn<QString>("title");
    QTest::addColumn<qint64>("minor");
    QTest::addColumn<QString>("currency");
    QTest::addColumn<QDateTime>("at");
    const QJsonValue none(QJsonValue::Undefined);
    const QDateTime billed(QDate(2026, 12, 5), QTime(10, 13, 10, 584), Qt::UTC);
    const QDateTime created(QDate(2026, 12, 5), QTime(10, 12, 33, 201), Qt::UTC);
    const QDateTime clockNow(QDate(2026, 12, 5), QTime(12, 0), Qt::UTC);
    const QString addon = QStringLiteral("Analytics addon");

    QTest::newRow("completed sale") << transaction("t") << "sale" << addon << qint64(2500) << "EUR" << billed;
    QTest::newRow("paid sale") << transaction("t", {{"status", "paid"}}) << "sale" << addon << qint64(2500) << "EUR" << billed;
    QTest::newRow("renewal") << transaction("t", {{"origin", "subscription_recurring"}}) << "renewal" << addon << qint64(2500) << "EUR" << billed;
    QTest::newRow("past due whatever origin") << transaction("t", {{"status", "past_due"}, {"origin", "subscription_recurring"}})
                                              << "failed" << addon << qint64(2500) << "EUR" << billed;
    for (const char *status : {"draft", "ready", "billed", "canceled"})
        QTest::newRow(status) << transaction("t", {{"status", status}}) << "" << "" << qint64(0) << "" << QDateTime();
    QTest::newRow("no status") << transaction("t", {{"status", none}}) << "" << "" << qint64(0) << "" << QDateTime();
    QTest::newRow("signed total") << transaction("t", {}, "+2500") << "sale" << addon << qint64(2500) << "EUR" << billed;
    QTest::newRow("decimal point") << transaction("t", {}, "25.00") << "sale" << addon << qint64(0) << "EUR" << billed;
    QTest::newRow("number, not text") << transaction("t", {}, 2500) << "sale" << addon << qint64(0) << "EUR" << billed;
    QTest::newRow("no total") << transaction("t", {}, none) << "sale" << addon << qint64(0) << "EUR" << billed;
    QTest::newRow("no currency") << transaction("t", {{"currency_code", none}}) << "sale" << addon << qint64(2500) << "USD" << billed;
    QTest::newRow("currency unchanged") << transaction("t", {{"currency_code", "eur"}}) << "sale" << addon << qint64(2500) << "eur" << billed;
    QTest::newRow("three items") << transaction("t", {}, "2500", {lineItem(addon), lineItem("Seats"), lineItem("Support")})
                                 << "sale" << "Analytics addon + 2 more" << qint64(2500) << "EUR" << billed;
    QTest::newRow("nameless first of two") << transaction("t", {}, "2500", {lineItem(7), lineItem("Seats")})
                                           << "sale" << "Paddle sale + 1 more" << qint64(2500) << "EUR" << billed;
    QTest::newRow("no items") << transaction("t", {}, "2500", {}) << "sale" << "Paddle sale" << qint64(2500) << "EUR" << billed;
    QTest::newRow("not billed: created") << transaction("t", {{"billed_at", QJsonValue::Null}}) << "sale" << addon << qint64(2500) << "EUR" << created;
    QTest::newRow("no dates: now") << transaction("t", {{"billed_at", none}, {"created_at", "yesterday"}})
                                   << "sale" << addon << qint64(2500) << "EUR" << clockNow;
    QJsonObject numericId = transaction("t");
    numericId.insert("id", 12);
    QTest::newRow("numeric id") << numericId << "" << "" << qint64(0) << "" << QDateTime();
}

void TestPaddle::transactionMapping()
{
    QFETCH(QJsonObject, element);
    QFETCH(QString, kind);
    QFETCH(QString, title);
    QFETCH(qint64, minor);
    QFETCH(QString, currency);
    QFETCH(QDateTime, at);
    TestHttp t;
    t.server.on("GET", "/transactions", ScriptedResponse::json(page({element})));
    const QList<SaleEvent> events = runTask(PaddleSource::fetch(t.context(), liveKey, {}, account, since));
    if (kind.isEmpty()) {
        QVERIFY(events.isEmpty());
        return;
    }
    QCOMPARE(events.size(), 1);
    const SaleEvent &e = events.first();
    QCOMPARE(e.id, "t");
    QCOMPARE(SaleEvent::kindName(e.kind), kind);
    QCOMPARE(e.title, title);
    QCOMPARE(e.amount, (Money{minor, currency}));
    QCOMPARE(e.at, at);
    QCOMPARE(e.platform, Platform::Paddle);
    QCOMPARE(e.account, account);
}

void TestPaddle::minorUnitsText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("minor"); // -1 for no value
    QTest::newRow("plain") << "2500" << qint64(2500);
    QTest::newRow("plus") << "+2500" << qint64(2500);
    QTest::newRow("minus") << "-300" << qint64(-300);
    QTest::newRow("zero") << "0" << qint64(0);
    QTest::newRow("largest") << "9223372036854775807" << qint64(9223372036854775807LL);
    QTest::newRow("too large") << "9223372036854775808" << qint64(-1);
    QTest::newRow("empty") << "" << qint64(-1);
    QTest::newRow("sign alone") << "-" << qint64(-1);
    QTest::newRow("two signs") << "+-5" << qint64(-1);
    QTest::newRow("space") << " 25" << qint64(-1);
    QTest::newRow("decimal") << "25.00" << qint64(-1);
    QTest::newRow("exponent") << "2e3" << qint64(-1);
    QTest::newRow("arabic-indic digits") << QString::fromUtf8("٢٥") << qint64(-1);
}

void TestPaddle::minorUnitsText()
{
    QFETCH(QString, text);
    QFETCH(qint64, minor);
    QCOMPARE(PaddleEvents::minorUnits(text).value_or(-1), minor);
}

void TestPaddle::failures()
{
    TestHttp t;
    t.server.on("GET", "/transactions", ScriptedResponse::json(
        R"({"error":{"type":"request_error","code":"forbidden","detail":"You aren't permitted to perform this request.","documentation_url":"https://developer.paddle.com/v1/errors/shared/forbidden"},"meta":{"request_id":"a1"}})", 403));
    QCOMPARE(failureOf(PaddleSource::verify(t.context(), liveKey, {})), "Paddle: You aren't permitted to perform this request.");

    t.server.reset();
    t.server.on("GET", "/transactions", ScriptedResponse::json(R"({"error":{"detail":"slow down"}})", 429));
    QCOMPARE(failureOf(PaddleSource::verify(t.context(), liveKey, {})), "Paddle asked us to slow down");

    // The second page failing loses the first page too.
    t.server.reset();
    t.server.on("GET", "/transactions", ScriptedResponse::json(page(fullPage(1), true)));
    t.server.on("GET", "/transactions", ScriptedResponse::json(R"({"error":{"detail":"oops"}})", 500));
    QCOMPARE(failureOf(PaddleSource::fetch(t.context(), liveKey, {}, account, since)), "Paddle answered 500");
    QCOMPARE(t.server.requests().size(), 2);

    t.server.reset();
    t.server.on("GET", "/transactions", ScriptedResponse::json("upstream connect error"));
    QVERIFY(failureOf(PaddleSource::fetch(t.context(), liveKey, {}, account, since))
                .startsWith("Paddle sent an answer that isn't valid JSON"));
}

void TestPaddle::dashboardLinks()
{
    const QUrl live("https://vendors.paddle.com/transactions-v2");
    const QUrl sandbox("https://sandbox-vendors.paddle.com/transactions-v2");
    QCOMPARE(PaddleSource::dashboard({}, "Paddle"), live);
    QCOMPARE(PaddleSource::dashboard({}, "Paddle (sandbox)"), sandbox);
    QCOMPARE(PaddleSource::dashboard({{"sandbox", "1"}}, "Paddle"), sandbox);
    QCOMPARE(PaddleSource::dashboard({{"sandbox", "true"}}, "Paddle"), live);
}

void TestPaddle::damagedBodies()
{
    QJsonArray data{transaction("txn_a"), transaction("txn_b", {{"status", "past_due"}}),
                    transaction("txn_c", {{"origin", "subscription_recurring"}}, "990",
                                {lineItem("Pro"), lineItem("Seats")})};
    const QByteArray sample = page(data, false);
    TestHttp t;
    const auto outcomes = JsonFuzz::feed(JsonFuzz::variants(sample, 300, 61), account, [&](const QByteArray &body) {
        t.server.reset();
        t.server.on("GET", "/transactions", ScriptedResponse::json(body));
    }, [&] { return PaddleSource::fetch(t.context(), liveKey, {}, account, since); });
    QCOMPARE(outcomes.faults, 0);
    QVERIFY(outcomes.events > 0 && outcomes.failures > 0);
}

QTEST_GUILESS_MAIN(TestPaddle)
#include "tst_paddle.moc"
