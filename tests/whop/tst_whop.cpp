#include "connectors/SourceCaches.h"
#include "connectors/whop/WhopSource.h"
#include "square/FuzzBodies.h"
#include "support/TestHttp.h"

#include <QTest>

namespace {

const QString production = QStringLiteral("api.whop.com");
const QString sandbox = QStringLiteral("sandbox-api.whop.com");
const QUuid account = QUuid::createUuid();
const QDateTime since(QDate(2026, 12, 5), QTime(6, 56, 57), Qt::UTC);
const Extra sandboxExtra{{QStringLiteral("sandbox"), QStringLiteral("1")}};

const QByteArray payments = R"({"data":[
  {"id":"pay_renewal","status":"paid","paid_at":"2026-12-05T11:00:00.250Z","created_at":"2026-12-05T10:59:00Z",
   "product_id":"prod_course","billing_reason":"subscription_cycle","total":{"amount":"19.99","currency":"eur"},"currency":"usd"},
  {"id":"pay_new","status":"paid","paid_at":null,"created_at":"2026-12-05T10:00:00Z",
   "product_id":"prod_course","billing_reason":"subscription_create","total":{"amount":"49","currency":null},"currency":"gbp"},
  {"id":"pay_failed","status":"uncollectible","created_at":"2026-12-05T09:00:00Z","product_id":"prod_gone",
   "billing_reason":"subscription_cycle","total":{"amount":"5.00"}},
  {"id":"pay_no_total","status":"paid","paid_at":"2026-12-05T08:00:00Z","product_id":42},
  {"id":"pay_number_total","status":"paid","paid_at":"2026-12-05T07:30:00Z","total":19.99},
  {"id":"pay_open","status":"open","created_at":"2026-12-05T07:00:00Z","product_id":"prod_open"},
  {"id":"pay_draft","created_at":"2026-12-05T07:00:00Z","product_id":"prod_open"},
  {"id":"pay_undated","status":"paid","paid_at":"soon","created_at":null,"product_id":"prod_open"},
  {"status":"paid","paid_at":"2026-12-05T07:00:00Z","product_id":"prod_open"}
],"page_info":{"has_next_page":false}})";

QList<QString> titles(const QList<SaleEvent> &events)
{
    QList<QString> list;
    for (const SaleEvent &e : events)
        list.append(e.title);
    return list;
}

}

class TestWhop : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void verifyProbesProductionThenSandbox_data();
    void verifyProbesProductionThenSandbox();
    void fetchReadsPayments();
    void productNamesAreLookedUpOnceWhenFound();
    void productIdsNeverBendThePath();
    void sandboxAccountStaysInSandbox();
    void fuzzedAnswersNeverCrash();
};

void TestWhop::verifyProbesProductionThenSandbox_data()
{
    QTest::addColumn<Extra>("extra");
    QTest::addColumn<int>("productionStatus");
    QTest::addColumn<int>("sandboxStatus");
    QTest::addColumn<QString>("outcome"); // label, or "!" + failure
    QTest::addColumn<QStringList>("hosts");
    QTest::newRow("production key") << Extra() << 200 << 200 << "Whop" << QStringList{production};
    QTest::newRow("sandbox key") << Extra() << 401 << 200 << "Whop (sandbox)" << QStringList{production, sandbox};
    QTest::newRow("valid nowhere keeps the sandbox error") << Extra() << 401 << 403 << "!Whop: Sandbox says no."
                                                           << QStringList{production, sandbox};
    QTest::newRow("sandbox account") << sandboxExtra << 500 << 200 << "Whop (sandbox)" << QStringList{sandbox};
}

void TestWhop::verifyProbesProductionThenSandbox()
{
    QFETCH(Extra, extra);
    QFETCH(int, productionStatus);
    QFETCH(int, sandboxStatus);
    QFETCH(QString, outcome);
    QFETCH(QStringList, hosts);
    TestHttp t;
    const auto answer = [](int status, const char *message) {
        return status == 200 ? ScriptedResponse::json(R"({"data":[]})")
                             : ScriptedResponse::json(QByteArray(R"({"error":{"message":")") + message + "\"}}", status);
    };
    t.server.on("GET", "/api/v1/payments", answer(productionStatus, "Production says no."), production);
    t.server.on("GET", "/api/v1/payments", answer(sandboxStatus, "Sandbox says no."), sandbox);
    QString label;
    const QString failure = failureOf([&]() -> QCoro::Task<> {
        label = co_await WhopSource::verify(t.context(), QStringLiteral("apik_1"), extra);
    }());
    QCOMPARE(failure.isEmpty() ? label : u'!' + failure, outcome);
    QStringList asked;
    for (const RecordedRequest &r : t.server.requests()) {
        asked.append(r.host());
        QCOMPARE(r.header("Authorization"), "Bearer apik_1");
        QCOMPARE(r.query, (QList<std::pair<QString, QString>>{{"first", "1"}}));
    }
    QCOMPARE(asked, hosts);
}

void TestWhop::fetchReadsPayments()
{
    TestHttp t;
    t.server.on("GET", "/api/v1/payments", ScriptedResponse::json(payments));
    // Both fields: the title wins.
    t.server.on("GET", "/api/v1/products/prod_course",
                ScriptedResponse::json(R"({"id":"prod_course","title":"Trading Course","name":"course-internal"})"));
    t.server.on("GET", "/api/v1/products/prod_gone", ScriptedResponse::json("", 404));
    const auto events = runTask(WhopSource::fetch(t.context(), "apik_1", {}, account, since));

    const auto at = [](int h, int m, int ms = 0) { return QDateTime(QDate(2026, 12, 5), QTime(h, m, 0, ms), Qt::UTC); };
    using K = SaleEvent::Kind;
    const QList<SaleEvent> want{
        {"pay_renewal", account, Platform::Whop, K::Renewal, "Trading Course", Money{1999, "EUR"}, at(11, 0, 250)},
        // paid_at null: dated by created_at; total without currency takes the payment's.
        {"pay_new", account, Platform::Whop, K::Sale, "Trading Course", Money{4900, "GBP"}, at(10, 0)},
        // Uncollectible is a failed payment even when it was a subscription cycle.
        {"pay_failed", account, Platform::Whop, K::Failed, "Whop sale", Money{500, "USD"}, at(9, 0)},
        {"pay_no_total", account, Platform::Whop, K::Sale, "Whop sale", std::nullopt, at(8, 0)},
        {"pay_number_total", account, Platform::Whop, K::Sale, "Whop sale", std::nullopt, at(7, 30)},
    };
    QCOMPARE(events, want);

    const RecordedRequest list = t.server.requestsTo("/api/v1/payments").first();
    QCOMPARE(list.host(), production);
    QCOMPARE(list.header("Authorization"), "Bearer apik_1");
    const QList<std::pair<QString, QString>> query{{"created_after", "2026-12-05T06:56:57Z"}, {"order", "created_at"},
                                                   {"direction", "desc"}, {"first", "100"}};
    QCOMPARE(list.query, query);
    // Skipped payments cost no look-up; the product request carries the key to the same host.
    QCOMPARE(t.server.requests().size(), 3);
    QCOMPARE(t.server.requestsTo("/api/v1/products/prod_course").first().header("Authorization"), "Bearer apik_1");
    QVERIFY(t.server.requestsTo("/api/v1/products/prod_open").isEmpty());

    // An answer that is not an object, or has no list, reads as no payments.
    for (const QByteArray body : {QByteArray("[]"), QByteArray(R"({"data":{"id":"x"}})")}) {
        t.server.reset();
        t.server.on("GET", "/api/v1/payments", ScriptedResponse::json(body));
        QVERIFY(runTask(WhopSource::fetch(t.context(), "apik_1", {}, account, since)).isEmpty());
    }
}

void TestWhop::productNamesAreLookedUpOnceWhenFound()
{
    TestHttp t;
    t.server.on("GET", "/api/v1/payments", ScriptedResponse::json(payments));
    t.server.on("GET", "/api/v1/products/prod_course", ScriptedResponse::json(R"({"name":"Course"})"));
    // Fails at first, then answers.
    t.server.on("GET", "/api/v1/products/prod_gone", ScriptedResponse::json("", 500));
    t.server.on("GET", "/api/v1/products/prod_gone", ScriptedResponse::json(R"({"title":"Back Again"})"));

    auto first = runTask(WhopSource::fetch(t.context(), "k", {}, account, since));
    QCOMPARE(titles(first).mid(0, 3), (QList<QString>{"Course", "Course", "Whop sale"}));
    QCOMPARE(t.server.requestsTo("/api/v1/products/prod_course").size(), 1); // two payments, one request
    QCOMPARE(t.caches.whopProductNames, (QHash<QString, QString>{{"prod_course", "Course"}}));

    // The next fetch asks only for the product whose look-up failed.
    auto second = runTask(WhopSource::fetch(t.context(), "k", {}, account, since));
    QCOMPARE(titles(second).mid(0, 3), (QList<QString>{"Course", "Course", "Back Again"}));
    QCOMPARE(t.server.requestsTo("/api/v1/products/prod_course").size(), 1);
    QCOMPARE(t.server.requestsTo("/api/v1/products/prod_gone").size(), 2);

    // A product answer without a usable name is not remembered either.
    t.caches.whopProductNames.clear();
    t.server.reset();
    t.server.on("GET", "/api/v1/payments", ScriptedResponse::json(payments));
    t.server.on("GET", "/api/v1/products/prod_course", ScriptedResponse::json(R"({"title":"","name":7})"));
    t.server.on("GET", "/api/v1/products/prod_gone", ScriptedResponse::json("[]"));
    QCOMPARE(titles(runTask(WhopSource::fetch(t.context(), "k", {}, account, since))).mid(0, 3),
             (QList<QString>{"Whop sale", "Whop sale", "Whop sale"}));
    QCOMPARE(t.server.requestsTo("/api/v1/products/prod_course").size(), 2);
    QVERIFY(t.caches.whopProductNames.isEmpty());
}

void TestWhop::productIdsNeverBendThePath()
{
    TestHttp t;
    t.server.on("GET", "/api/v1/payments", ScriptedResponse::json(R"({"data":[
      {"id":"a","status":"paid","paid_at":"2026-12-05T10:00:00Z","product_id":"../payments?first=1"},
      {"id":"b","status":"paid","paid_at":"2026-12-05T10:00:00Z","product_id":"//evil.example/x"},
      {"id":"c","status":"paid","paid_at":"2026-12-05T10:00:00Z","product_id":""}]})"));
    const auto events = runTask(WhopSource::fetch(t.context(), "k", {}, account, since));
    QCOMPARE(titles(events), (QList<QString>{"Whop sale", "Whop sale", "Whop sale"}));
    QCOMPARE(t.server.requests().size(), 1);
}

void TestWhop::sandboxAccountStaysInSandbox()
{
    TestHttp t;
    t.server.on("GET", "/api/v1/payments", ScriptedResponse::json(payments));
    t.server.on("GET", "/api/v1/products/prod_course", ScriptedResponse::json(R"({"title":"Course"})"));
    runTask(WhopSource::fetch(t.context(), "k", sandboxExtra, account, since));
    QVERIFY(t.server.requests().size() > 1);
    for (const RecordedRequest &r : t.server.requests())
        QCOMPARE(r.host(), sandbox);

    Account a;
    a.platform = Platform::Whop;
    a.label = QStringLiteral("Whop");
    QCOMPARE(WhopSource::dashboard(a).host(), "whop.com");
    a.label = QStringLiteral("Whop (sandbox)");
    QCOMPARE(WhopSource::dashboard(a).host(), "sandbox.whop.com");
    a.label = QStringLiteral("Whop");
    a.extra = sandboxExtra;
    QCOMPARE(WhopSource::dashboard(a).host(), "sandbox.whop.com");
}

void TestWhop::fuzzedAnswersNeverCrash()
{
    TestHttp t;
    FuzzBodies paymentBodies(payments, 99);
    FuzzBodies productBodies(R"({"id":"prod_course","title":"Trading Course","name":"n"})", 100);
    t.server.handle([&](const RecordedRequest &r) {
        return r.path.contains("/products/") ? productBodies.next() : paymentBodies.next();
    });
    int succeeded = 0;
    for (int i = 0; i < 300; ++i) {
        t.caches.whopProductNames.clear();
        try {
            for (const SaleEvent &e : runTask(WhopSource::fetch(t.context(), "k", {}, account, since))) {
                QVERIFY(!e.id.isEmpty() && e.at.isValid());
                QCOMPARE(e.account, account);
            }
            ++succeeded;
        } catch (const Failure &) {
        }
    }
    QVERIFY2(succeeded > 50, qPrintable(QString::number(succeeded)));
}

QTEST_GUILESS_MAIN(TestWhop)
#include "tst_whop.moc"
