#include "connectors/square/SquareSource.h"
#include "square/FuzzBodies.h"
#include "support/TestHttp.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

namespace {

const QString production = QStringLiteral("connect.squareup.com");
const QString sandbox = QStringLiteral("connect.squareupsandbox.com");
const QUuid account = QUuid::createUuid();
const QDateTime since(QDate(2026, 12, 5), QTime(6, 56, 57), Qt::UTC);
const Extra sandboxExtra{{QStringLiteral("sandbox"), QStringLiteral("1")}};

// Newest first, as Square sends them: every status the connector must sort out.
const QByteArray payments = R"({"payments":[
  {"id":"pay-two-items","created_at":"2026-12-05T11:50:12.507Z","status":"COMPLETED","order_id":"order-2",
   "amount_money":{"amount":1500,"currency":"USD"},"total_money":{"amount":1650,"currency":"EUR"},"note":"ignored"},
  {"id":"pay-approved","created_at":"2026-12-05T11:40:00Z","status":"APPROVED","order_id":"order-x"},
  {"id":"pay-canceled","created_at":"2026-12-05T11:30:00Z","status":"CANCELED"},
  {"id":"pay-pending","created_at":"2026-12-05T11:20:00Z","status":"PENDING"},
  {"id":"pay-failed","created_at":"2026-12-05T11:10:00Z","status":"FAILED","order_id":"order-1",
   "amount_money":{"amount":999,"currency":"GBP"}},
  {"id":"pay-note","created_at":"2026-12-05T11:00:00+01:00","status":"COMPLETED","note":"Walk-in sale",
   "amount_money":{"amount":2000,"currency":"USD"}},
  {"id":"pay-bare","created_at":"2026-12-05T10:00:00Z","status":"COMPLETED","note":""},
  {"id":"pay-unnamed-order","created_at":"2026-12-05T09:00:00Z","status":"COMPLETED","order_id":"order-0",
   "total_money":{"amount":12.5,"currency":"USD"}},
  {"created_at":"2026-12-05T08:00:00Z","status":"COMPLETED"},
  {"id":"pay-no-date","created_at":"yesterday","status":"COMPLETED"},
  "not an object"
],"cursor":"next"})";

const QByteArray orders = R"({"orders":[
  {"id":"order-2","line_items":[{"name":"Flat White"},{"name":"Croissant"}]},
  {"id":"order-1","line_items":[{"name":"Gift Card"}]},
  {"id":"order-0","line_items":[{"quantity":"1"}]},
  {"line_items":[{"name":"No id"}]}
]})";

SaleEvent expected(const char *id, SaleEvent::Kind kind, const char *title, qint64 minor, const char *currency,
                   const QDateTime &at)
{
    return {QString::fromLatin1(id), account, Platform::Square, kind, QString::fromUtf8(title),
            Money{minor, QString::fromLatin1(currency)}, at};
}

QDateTime utc(int h, int m, int s = 0, int ms = 0)
{
    return QDateTime(QDate(2026, 12, 5), QTime(h, m, s, ms), Qt::UTC);
}

}

class TestSquare : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void verifyProbesProductionThenSandbox_data();
    void verifyProbesProductionThenSandbox();
    void fetchReadsPaymentsAndNamesThemAfterOrders();
    void orderLookupFailureCostsOnlyTitles_data();
    void orderLookupFailureCostsOnlyTitles();
    void fetchRequestLimitsAndFailures();
    void sandboxAccountStaysInSandbox();
    void fuzzedAnswersNeverCrash();
};

void TestSquare::verifyProbesProductionThenSandbox_data()
{
    QTest::addColumn<Extra>("extra");
    QTest::addColumn<int>("productionStatus");
    QTest::addColumn<QByteArray>("productionBody");
    QTest::addColumn<int>("sandboxStatus");
    QTest::addColumn<QByteArray>("sandboxBody");
    QTest::addColumn<QString>("outcome"); // label, or "!" + failure
    QTest::addColumn<QStringList>("hosts");

    const QByteArray merchant = R"({"merchant":{"id":"M1","business_name":"Corner Café"}})";
    const QByteArray prodError = R"({"errors":[{"category":"AUTHENTICATION_ERROR","code":"UNAUTHORIZED","detail":"Production refused."}]})";
    const QByteArray sandError = R"({"errors":[{"category":"AUTHENTICATION_ERROR","code":"UNAUTHORIZED","detail":"Sandbox refused."}]})";
    QTest::newRow("production key") << Extra() << 200 << merchant << 200 << merchant << "Corner Café"
                                    << QStringList{production};
    QTest::newRow("no business name") << Extra() << 200 << QByteArray(R"({"merchant":{"business_name":""}})") << 200
                                      << merchant << "Square" << QStringList{production};
    QTest::newRow("sandbox key") << Extra() << 401 << prodError << 200 << merchant << "Corner Café (sandbox)"
                                 << QStringList{production, sandbox};
    QTest::newRow("production answer unreadable") << Extra() << 200 << QByteArray("<html>") << 200 << merchant
                                                  << "Corner Café (sandbox)" << QStringList{production, sandbox};
    QTest::newRow("valid nowhere keeps the sandbox error") << Extra() << 401 << prodError << 401 << sandError
                                                           << "!Square: Sandbox refused." << QStringList{production, sandbox};
    QTest::newRow("sandbox account asks the sandbox once") << sandboxExtra << 200 << merchant << 401 << sandError
                                                           << "!Square: Sandbox refused." << QStringList{sandbox};
}

void TestSquare::verifyProbesProductionThenSandbox()
{
    QFETCH(Extra, extra);
    QFETCH(int, productionStatus);
    QFETCH(QByteArray, productionBody);
    QFETCH(int, sandboxStatus);
    QFETCH(QByteArray, sandboxBody);
    QFETCH(QString, outcome);
    QFETCH(QStringList, hosts);

    TestHttp t;
    t.server.on("GET", "/v2/merchants/me", ScriptedResponse::json(productionBody, productionStatus), production);
    t.server.on("GET", "/v2/merchants/me", ScriptedResponse::json(sandboxBody, sandboxStatus), sandbox);
    QString label;
    const QString failure = failureOf([&]() -> QCoro::Task<> {
        label = co_await SquareSource::verify(t.context(), QStringLiteral("EAAAtoken"), extra);
    }());
    QCOMPARE(failure.isEmpty() ? label : u'!' + failure, outcome);

    QStringList asked;
    for (const RecordedRequest &r : t.server.requests()) {
        asked.append(r.host());
        QCOMPARE(r.path, "/v2/merchants/me");
        QCOMPARE(r.header("Authorization"), "Bearer EAAAtoken");
        QCOMPARE(r.header("Square-Version"), "2026-09-16");
    }
    QCOMPARE(asked, hosts);
}

void TestSquare::fetchReadsPaymentsAndNamesThemAfterOrders()
{
    TestHttp t;
    t.server.on("GET", "/v2/payments", ScriptedResponse::json(payments));
    t.server.on("POST", "/v2/orders/batch-retrieve", ScriptedResponse::json(orders));
    const auto events = runTask(SquareSource::fetch(t.context(), QStringLiteral("EAAAtoken"), {}, account, since));

    const QList<SaleEvent> want{
        expected("pay-two-items", SaleEvent::Kind::Sale, "Flat White + 1 more", 1650, "EUR", utc(11, 50, 12, 507)),
        expected("pay-failed", SaleEvent::Kind::Failed, "Gift Card", 999, "GBP", utc(11, 10)),
        expected("pay-note", SaleEvent::Kind::Sale, "Walk-in sale", 2000, "USD", utc(10, 0)),
        expected("pay-bare", SaleEvent::Kind::Sale, "Square payment", 0, "USD", utc(10, 0)),
        // An order whose items have no names gives no title; a fractional amount counts as zero.
        expected("pay-unnamed-order", SaleEvent::Kind::Sale, "Square payment", 0, "USD", utc(9, 0)),
    };
    QCOMPARE(events, want);

    const auto list = t.server.requestsTo("/v2/payments");
    QCOMPARE(list.size(), 1);
    QCOMPARE(list[0].host(), production);
    QCOMPARE(list[0].header("Square-Version"), "2026-09-16");
    const QList<std::pair<QString, QString>> query{
        {"begin_time", "2026-12-05T06:56:57Z"}, {"sort_order", "DESC"}, {"limit", "100"}};
    QCOMPARE(list[0].query, query);

    const auto batch = t.server.requestsTo("/v2/orders/batch-retrieve");
    QCOMPARE(batch.size(), 1);
    QCOMPARE(batch[0].method, "POST");
    QCOMPARE(batch[0].host(), production);
    QCOMPARE(batch[0].header("Content-Type"), "application/json");
    QCOMPARE(batch[0].header("Authorization"), "Bearer EAAAtoken");
    QCOMPARE(batch[0].header("Square-Version"), "2026-09-16");
    // Only kept payments' orders are asked for, in payment order.
    const QJsonObject body = QJsonDocument::fromJson(batch[0].body).object();
    QCOMPARE(body.keys(), QStringList{"order_ids"});
    QCOMPARE(body.value("order_ids").toArray(), QJsonArray({"order-2", "order-1", "order-0"}));
}

void TestSquare::orderLookupFailureCostsOnlyTitles_data()
{
    QTest::addColumn<ScriptedResponse>("answer");
    QTest::newRow("error status") << ScriptedResponse::json(R"({"errors":[{"detail":"Orders are off."}]})", 403);
    QTest::newRow("not json") << ScriptedResponse::json("<html>oops</html>");
}

void TestSquare::orderLookupFailureCostsOnlyTitles()
{
    QFETCH(ScriptedResponse, answer);
    TestHttp t;
    t.server.on("GET", "/v2/payments", ScriptedResponse::json(payments));
    t.server.on("POST", "/v2/orders/batch-retrieve", answer);
    const auto events = runTask(SquareSource::fetch(t.context(), QStringLiteral("EAAAtoken"), {}, account, since));
    QStringList titles;
    for (const SaleEvent &e : events)
        titles.append(e.title);
    QCOMPARE(titles, (QStringList{"ignored", "Square payment", "Walk-in sale", "Square payment", "Square payment"}));
    QCOMPARE(t.server.requestsTo("/v2/orders/batch-retrieve").size(), 1);
}

void TestSquare::fetchRequestLimitsAndFailures()
{
    // No order ids: no batch request at all.
    {
        TestHttp t;
        t.server.on("GET", "/v2/payments", ScriptedResponse::json(
            R"({"payments":[{"id":"p","created_at":"2026-12-05T10:00:00Z","status":"COMPLETED","order_id":""}]})"));
        QCOMPARE(runTask(SquareSource::fetch(t.context(), "k", {}, account, since)).size(), 1);
        QCOMPARE(t.server.requests().size(), 1);
    }
    // More than 100 kept payments with orders: the batch carries the first 100.
    {
        QJsonArray many;
        for (int i = 0; i < 120; ++i)
            many.append(QJsonObject{{"id", QString("p%1").arg(i)}, {"created_at", "2026-12-05T10:00:00Z"},
                                    {"status", "COMPLETED"}, {"order_id", QString("o%1").arg(i)}});
        TestHttp t;
        t.server.on("GET", "/v2/payments", ScriptedResponse::json(QJsonDocument(QJsonObject{{"payments", many}}).toJson()));
        t.server.on("POST", "/v2/orders/batch-retrieve", ScriptedResponse::json(R"({"orders":[]})"));
        QCOMPARE(runTask(SquareSource::fetch(t.context(), "k", {}, account, since)).size(), 120);
        const QJsonArray ids = QJsonDocument::fromJson(t.server.requestsTo("/v2/orders/batch-retrieve")[0].body)
                                   .object().value("order_ids").toArray();
        QCOMPARE(ids.size(), 100);
        QCOMPARE(ids.first().toString(), "o0");
        QCOMPARE(ids.last().toString(), "o99");
    }
    // The payments request failing fails the fetch.
    {
        TestHttp t;
        t.server.on("GET", "/v2/payments", ScriptedResponse::json("", 401));
        QCOMPARE(failureOf(SquareSource::fetch(t.context(), "k", {}, account, since)),
                 "Square rejected the key. It may have been revoked");
    }
}

void TestSquare::sandboxAccountStaysInSandbox()
{
    TestHttp t;
    t.server.on("GET", "/v2/payments", ScriptedResponse::json(payments));
    t.server.on("POST", "/v2/orders/batch-retrieve", ScriptedResponse::json(orders));
    QCOMPARE(runTask(SquareSource::fetch(t.context(), "k", sandboxExtra, account, since)).size(), 5);
    for (const RecordedRequest &r : t.server.requests())
        QCOMPARE(r.host(), sandbox);
    QCOMPARE(SquareSource::host({}).host(), production);

    Account a;
    a.platform = Platform::Square;
    a.label = QStringLiteral("Corner Café");
    const QUrl live = SquareSource::dashboard(a);
    QCOMPARE(live.host(), "app.squareup.com");
    a.label = QStringLiteral("Corner Café (sandbox)");
    QCOMPARE(SquareSource::dashboard(a).host(), "developer.squareup.com");
    a.label = QStringLiteral("Corner Café");
    a.extra = sandboxExtra;
    QCOMPARE(SquareSource::dashboard(a).host(), "developer.squareup.com");
}

void TestSquare::fuzzedAnswersNeverCrash()
{
    TestHttp t;
    FuzzBodies payBodies(payments, 2025);
    FuzzBodies orderBodies(orders, 7);
    t.server.handle([&](const RecordedRequest &r) {
        return r.path.endsWith("batch-retrieve") ? orderBodies.next() : payBodies.next();
    });
    int succeeded = 0;
    for (int i = 0; i < 300; ++i) {
        try {
            for (const SaleEvent &e : runTask(SquareSource::fetch(t.context(), "k", {}, account, since))) {
                QVERIFY(!e.id.isEmpty() && e.at.isValid() && e.amount);
                QCOMPARE(e.account, account);
            }
            ++succeeded;
        } catch (const Failure &) {
        }
    }
    QVERIFY2(succeeded > 50, qPrintable(QString::number(succeeded)));
}

QTEST_GUILESS_MAIN(TestSquare)
#include "tst_square.moc"
