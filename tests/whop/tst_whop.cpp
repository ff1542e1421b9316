#include "connectors/SourceCaches.h"
#include "connectors/WithTimeout.h"
#include "connectors/whop/WhopSource.h"
#include "support/EventLines.h"
#include "support/Fixture.h"
#include "support/TestHttp.h"

#include <QTest>

// Hosts, what it reads from a recorded answer, labels, requests, damaged answers and payments that
// fail before they are paid: tests/sources.
namespace {

const QString paymentsPath = QStringLiteral("/api/v1/payments");
const QUuid account = QUuid::createUuid();
const QDateTime since(QDate(2026, 12, 5), QTime(6, 56, 57), Qt::UTC);
const Extra sandboxExtra{{QStringLiteral("sandbox"), QStringLiteral("1")}};

// The recorded payments page: products prod_course, prod_gone and prod_open
// (the last only on payments that are skipped).
TestHttp &servePayments(TestHttp &t, const QByteArray &body = fixture("whop/payments.json"))
{
    t.server.reset();
    t.server.on("GET", paymentsPath, ScriptedResponse::json(body));
    return t;
}

QString product(const char *id)
{
    return QStringLiteral("/api/v1/products/") + QLatin1String(id);
}

QList<SaleEvent> fetch(TestHttp &t, const Extra &extra = {})
{
    return runTask(WhopSource::fetch(t.context(), "apik_1", extra, account, since));
}

QStringList titles(const QList<SaleEvent> &events, int count = 3)
{
    QStringList list;
    for (const SaleEvent &e : events.mid(0, count))
        list.append(e.title);
    return list;
}

}

class TestWhop : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pathBendingProductsAreNotLookedUp()
    {
        TestHttp t;
        // Product ids that would bend the request path are never looked up.
        QCOMPARE(titles(fetch(servePayments(t, fixture("whop/path-bending-products.json")))),
                 (QStringList{"Whop sale", "Whop sale", "Whop sale"}));
        QCOMPARE(t.server.requests().size(), 1);
    }

    // Without a version header Whop answers in its original shape: the
    // product comes along with its title, and the total is a number of major
    // units. A product without a title is still looked up.
    void originalShape()
    {
        TestHttp t;
        servePayments(t, fixture("whop/payments-original.json"));
        t.server.on("GET", product("prod_untitled"),
                    ScriptedResponse::json(R"({"title":"Ebook"})"));
        QCOMPARE(
            eventLines(fetch(t), Platform::Whop, account),
            (QStringList{"pay_orig_paid sale Pickaxe Analytics | 1999 USD @ 12-05 10:15:02.000",
                         "pay_orig_cycle renewal Pickaxe Analytics | 1500 JPY @ 12-05 09:00:01.000",
                         "pay_orig_lookup sale Ebook | 450 EUR @ 12-05 08:00:00.000"}));
        QCOMPARE(t.server.requests().size(), 2);
    }

    // A hundred new products behind a slow platform: looking them up stops
    // within the budget, so the fetch ends inside the poller's limit; the rest
    // are titled "Whop sale" and named at a later check.
    void lookupsStopWithinTheBudget()
    {
        TestHttp t;
        QByteArrayList payments;
        for (int n = 0; n < 100; ++n)
            payments.append(
                QStringLiteral(R"({"id":"pay_%1","status":"paid","product_id":"prod_%1",)"
                               R"("paid_at":"2026-12-05T10:00:00Z","total":"5.00"})")
                    .arg(n)
                    .toUtf8());
        servePayments(t, R"({"data":[)" + payments.join(',') + "]}");
        t.server.handle([&](const RecordedRequest &r) -> std::optional<ScriptedResponse> {
            if (!r.path.startsWith("/api/v1/products/"))
                return std::nullopt;
            t.clock.setNow(t.clock.now().addMSecs(500));
            return ScriptedResponse::json(R"({"title":"Named"})");
        });
        const QList<SaleEvent> events =
            runTask(withTimeout(t.clock, std::chrono::seconds(45),
                                WhopSource::fetch(t.context(), "apik_1", {}, account, since)));
        QCOMPARE(events.size(), 100);
        // 500 ms each: two a second of the budget; the one that ends just as
        // the budget does may be cut by it.
        const qsizetype most = WhopSource::lookupBudget.count() * 2;
        const auto named = std::count_if(events.cbegin(), events.cend(),
                                         [](const SaleEvent &e) { return e.title == "Named"; });
        QVERIFY2(named >= most - 1 && named <= most, qPrintable(QString::number(named)));
        QCOMPARE(events[named - 1].title, "Named");
        QCOMPARE(events[named].title, "Whop sale");
        QVERIFY(t.server.requests().size() <= 1 + most);
    }

    void productNamesAreLookedUpOnceWhenFound()
    {
        TestHttp t;
        servePayments(t);
        t.server.on("GET", product("prod_course"), ScriptedResponse::json(R"({"name":"Course"})"));
        // Fails at first, then answers.
        t.server.on("GET", product("prod_gone"), ScriptedResponse::json("", 500));
        t.server.on("GET", product("prod_gone"),
                    ScriptedResponse::json(R"({"title":"Back Again"})"));

        QCOMPARE(titles(fetch(t)), (QStringList{"Course", "Course", "Whop sale"}));
        // Two payments, one request, with the key; skipped payments cost no look-up.
        QCOMPARE(t.server.requests().size(), 3);
        QCOMPARE(t.server.requestsTo(product("prod_course")).value(0).header("Authorization"),
                 "Bearer apik_1");
        QCOMPARE(t.caches.whopProductNames, (QHash<QString, QString>{{"prod_course", "Course"}}));

        // The next fetch asks only for the product whose look-up failed.
        QCOMPARE(titles(fetch(t)), (QStringList{"Course", "Course", "Back Again"}));
        QCOMPARE(t.server.requestsTo(product("prod_course")).size(), 1);
        QCOMPARE(t.server.requestsTo(product("prod_gone")).size(), 2);

        // A product answer without a usable name is not remembered either.
        t.caches.whopProductNames.clear();
        servePayments(t);
        t.server.on("GET", product("prod_course"),
                    ScriptedResponse::json(R"({"title":"","name":7})"));
        t.server.on("GET", product("prod_gone"), ScriptedResponse::json("[]"));
        QCOMPARE(titles(fetch(t)), (QStringList{"Whop sale", "Whop sale", "Whop sale"}));
        QCOMPARE(t.server.requestsTo(product("prod_course")).size(), 2);
        QVERIFY(t.caches.whopProductNames.isEmpty());
    }

    void sandboxAccountStaysInSandbox()
    {
        TestHttp t;
        fetch(servePayments(t), sandboxExtra);
        // Product look-ups too.
        QVERIFY(t.server.requests().size() > 1);
        for (const RecordedRequest &r : t.server.requests())
            QCOMPARE(r.host(), "sandbox-api.whop.com");
        // The dashboard follows the sandbox flag, or a label from before the flag existed.
        QCOMPARE(WhopSource::dashboard({.label = "Whop"}).host(), "whop.com");
        QCOMPARE(WhopSource::dashboard({.label = "Whop (sandbox)"}).host(), "sandbox.whop.com");
        QCOMPARE(WhopSource::dashboard({.label = "Whop", .extra = sandboxExtra}).host(),
                 "sandbox.whop.com");
    }
};

QTEST_GUILESS_MAIN(TestWhop)
#include "tst_whop.moc"
