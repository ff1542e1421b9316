#include "connectors/woocommerce/WooCommerceSource.h"
#include "support/EventLines.h"
#include "support/Fixture.h"
#include "support/TestHttp.h"
#include "support/TextTable.h"

#include <QTest>

// Wrong keys, damaged answers and orders that fail before they are paid:
// tests/sources.
namespace {

const QString ordersPath = QStringLiteral("/wp-json/wc/v3/orders");
const QString refused =
    QStringLiteral("Use your shop's https address, e.g. https://shop.example.com");
const QUuid account = QUuid::createUuid();
const QDateTime since(QDate(2026, 12, 5), QTime(6, 56, 57), Qt::UTC);

Extra shopExtra(const QString &site = QStringLiteral("https://shop.example.com"))
{
    return {{QStringLiteral("site"), site},
            {QStringLiteral("consumerKey"), QStringLiteral("ck_1234")}};
}

}

class TestWooCommerce : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void siteAddress_data()
    {
        const auto row = textTable("typed", "site"); // empty: refused
        row("bare host with slash", " shop.example.com/ ", "https://shop.example.com");
        row("https kept", "https://shop.example.com", "https://shop.example.com");
        row("subfolder install", "https://example.com/store/", "https://example.com/store");
        row("port", "shop.example.com:8443", "https://shop.example.com:8443");
        row("host starting with http", "httpshop.example.com", "https://httpshop.example.com");
        row("upper-case scheme", "HTTPS://Shop.example.com", "HTTPS://Shop.example.com");
        row("http refused", "http://shop.example.com");
        row("upper-case http refused", "HTTP://shop.example.com");
        row("half a scheme", "https:/shop.example.com");
        row("empty", "");
        row("other scheme", "ftp://shop.example.com");
        row("scheme-like user info", "mailto:me@shop.example.com");
        row("user info", "https://evil.example@shop.example.com");
        row("query", "https://shop.example.com?x=1");
        row("fragment", "https://shop.example.com#top");
        row("space in host", "https://shop example.com");
    }

    void siteAddress()
    {
        QFETCH(QString, typed);
        QFETCH(QString, site);
        const Extra extra{{QStringLiteral("site"), typed}};
        QString got;
        try {
            got = WooCommerceSource::site(extra);
        } catch (const SourceError &e) {
            QCOMPARE(e.message(), refused);
        }
        QCOMPARE(got, site);
        QCOMPARE(WooCommerceSource::dashboard(extra),
                 site.isEmpty() ? std::nullopt
                                : std::optional(QUrl(site + "/wp-admin/admin.php?page=wc-orders")));
    }

    void verifyChecksKeysThenNamesTheShop_data()
    {
        QTest::addColumn<ScriptedResponse>("index");
        QTest::addColumn<QString>("label");
        QTest::newRow("named site") << ScriptedResponse::json(
            R"({"name":"Acme Supplies","description":"Just another shop"})")
                                    << "Acme Supplies";
        QTest::newRow("empty name")
            << ScriptedResponse::json(R"({"name":""})") << "shop.example.com";
        QTest::newRow("private index")
            << ScriptedResponse::json(R"({"code":"rest_forbidden","message":"Sorry."})", 401)
            << "shop.example.com";
        QTest::newRow("html index")
            << ScriptedResponse::json("<html></html>") << "shop.example.com";
    }

    void verifyChecksKeysThenNamesTheShop()
    {
        QFETCH(ScriptedResponse, index);
        QFETCH(QString, label);
        TestHttp t;
        t.server.on("GET", ordersPath, ScriptedResponse::json("[]"));
        t.server.on("GET", "/wp-json/", index);
        QCOMPARE(runTask(WooCommerceSource::verify(t.context(), "cs_secret",
                                                   shopExtra("shop.example.com/"))),
                 label);

        // The key goes only where the orders are; the shop's name is public.
        QStringList sent;
        for (const RecordedRequest &r : t.server.requests())
            sent.append(r.host()
                        + QString::fromUtf8(r.rawTarget + ' ' + r.header("Authorization")));
        QCOMPARE(sent,
                 (QStringList{"shop.example.com/wp-json/wc/v3/orders?per_page=1 Basic "
                              "Y2tfMTIzNDpjc19zZWNyZXQ=", // base64("ck_1234:cs_secret")
                              "shop.example.com/wp-json/ "}));
    }

    void verifyRefusesBeforeAnyRequest()
    {
        TestHttp t;
        Extra noKey = shopExtra();
        noKey.remove("consumerKey");
        QCOMPARE(failureOf(WooCommerceSource::verify(t.context(), "cs", noKey)),
                 "Paste the consumer key too");
        QCOMPARE(failureOf(WooCommerceSource::verify(t.context(), "cs",
                                                     shopExtra("http://shop.example.com"))),
                 refused);
        QCOMPARE(failureOf(WooCommerceSource::fetch(
                     t.context(), "cs", shopExtra("http://shop.example.com"), account, since)),
                 refused);
        QVERIFY(t.server.requests().isEmpty());
    }

    void fetchReadsReportedOrders()
    {
        TestHttp t;
        t.server.on("GET", ordersPath, ScriptedResponse::json(fixture("woocommerce/orders.json")));
        // Only processing, completed, on-hold and failed orders with a numeric id count.
        // Sales are dated when paid: 716 waited two days in "pending" and is
        // today's sale; 715 was paid two days ago and only changed since.
        QCOMPARE(eventLines(runTask(WooCommerceSource::fetch(t.context(), "cs", shopExtra(),
                                                             account, since)),
                            Platform::WooCommerce, account),
                 (QStringList{
                     "727 sale Woo Single #1 + 2 more | 2935 USD @ 12-05 11:28:05.000",
                     "726 sale Beanie | 1000 EUR @ 12-05 11:00:00.000",
                     "725 sale Order #725 | 500 USD @ 12-05 10:00:00.000",
                     // No creation date: dated at the time of the fetch. Yen have no minor unit.
                     "724#failed failed Cap + 1 more | 1200 JPY @ 12-05 12:00:00.000",
                     "717 sale Order #717 | no amount @ 12-05 09:00:00.000",
                     "716 sale Tote | 1900 USD @ 12-05 10:30:00.000",
                 }));

        const QList<std::pair<QString, QString>> query{{"modified_after", "2026-12-05T06:56:57"},
                                                       {"dates_are_gmt", "true"},
                                                       {"per_page", "50"},
                                                       {"orderby", "date"},
                                                       {"order", "desc"}};
        QCOMPARE(t.server.requests().first().query, query);
        QCOMPARE(t.server.requests().first().host(), "shop.example.com");

        // A subfolder install keeps its folder in front of the API path; an answer that is no list
        // has no orders.
        t.server.reset();
        t.server.on("GET", "/store" + ordersPath,
                    ScriptedResponse::json(R"({"orders":[{"id":1,"status":"completed"}]})"));
        QVERIFY(runTask(WooCommerceSource::fetch(t.context(), "cs", shopExtra("example.com/store"),
                                                 account, since))
                    .isEmpty());
        QCOMPARE(t.server.requests()[0].host(), "example.com");
        QCOMPARE(t.server.requests()[0].path, "/store" + ordersPath);
    }
};

QTEST_GUILESS_MAIN(TestWooCommerce)
#include "tst_woocommerce.moc"
