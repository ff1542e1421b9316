#include "connectors/shopify/ShopifySource.h"
#include "JsonFuzz.h"
#include "support/TestHttp.h"

#include <QJsonDocument>
#include <QTest>
#include <QTimeZone>

namespace {

const QString graphqlPath = QStringLiteral("/admin/api/2026-10/graphql.json");
const QString tokenPath = QStringLiteral("/admin/oauth/access_token");
const QUuid account = QUuid::fromString(QStringLiteral("{6f1c1e9a-6a43-4a57-9d0e-2b1f6f0a1c01}"));

const QString expectedOrdersQuery = QStringLiteral(R"(query($q: String!, $after: String) {
  orders(first: 50, after: $after, sortKey: CREATED_AT, query: $q) {
    edges { node {
      id name createdAt test cancelledAt
      totalPriceSet { shopMoney { amount currencyCode } }
      lineItems(first: 3) { edges { node { title quantity } } }
    } }
    pageInfo { hasNextPage endCursor }
  }
})");

Extra legacy(const QString &shop = QStringLiteral("acme"))
{
    return {{QStringLiteral("shop"), shop}};
}

Extra withClient(const QString &clientId, const QString &shop = QStringLiteral("acme"))
{
    return {{QStringLiteral("shop"), shop}, {QStringLiteral("clientId"), clientId}};
}

QByteArray shopAnswer(const char *name = "Acme Goods")
{
    return QByteArray(R"({"data":{"shop":{"name":")") + name + R"(","myshopifyDomain":"acme.myshopify.com"}}})";
}

QByteArray ordersPage(const QByteArray &edges, bool hasNext = false, const QByteArray &cursor = "\"c1\"")
{
    return R"({"data":{"orders":{"edges":[)" + edges + R"(],"pageInfo":{"hasNextPage":)"
        + (hasNext ? "true" : "false") + R"(,"endCursor":)" + cursor + "}}}}";
}

QByteArray order(int n)
{
    return QStringLiteral(R"({"node":{"id":"gid://shopify/Order/%1","name":"#%1","createdAt":"2026-12-05T10:%2:00Z",)"
                          R"("test":false,"cancelledAt":null,"totalPriceSet":{"shopMoney":{"amount":"19.90","currencyCode":"EUR"}},)"
                          R"("lineItems":{"edges":[{"node":{"title":"Mug","quantity":1}}]}}})")
        .arg(1000 + n).arg(n % 60, 2, 10, QLatin1Char('0')).toUtf8();
}

QJsonObject bodyOf(const RecordedRequest &r)
{
    return QJsonDocument::fromJson(r.body).object();
}

QDateTime since()
{
    return QDateTime(QDate(2026, 12, 5), QTime(0, 0), Qt::UTC);
}

}

class TestShopify : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void storeAddresses_data();
    void storeAddresses();
    void refusedAddressSendsNothing();
    void tokenExchangeAndCache();
    void tokenFailures();
    void legacyTokenSentAsIs();
    void exactGraphqlBodies();
    void paging();
    void orderMapping();
    void graphqlErrorsAndLabels();
    void damagedAnswers();
};

void TestShopify::storeAddresses_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("host"); // empty: refused
    QTest::newRow("capitals, scheme and path") << "  HTTPS://Acme-Goods.MyShopify.com/admin/orders " << "acme-goods.myshopify.com";
    QTest::newRow("bare name") << "acme" << "acme.myshopify.com";
    QTest::newRow("plain http") << "http://acme.myshopify.com" << "acme.myshopify.com";
    QTest::newRow("custom domain") << "shop.acme.com" << "";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("domain alone") << "myshopify.com" << "";
    QTest::newRow("domain as a prefix") << "acme.myshopify.com.evil.test" << "";
    QTest::newRow("inner space") << "acme goods" << "";
    QTest::newRow("fragment trick") << "evil.test#.myshopify.com" << "";
    QTest::newRow("query trick") << "evil.test?.myshopify.com" << "";
    QTest::newRow("user info trick") << "evil.test@acme.myshopify.com" << "";
    QTest::newRow("backslash trick") << "evil.test\\.myshopify.com" << "";
    QTest::newRow("port") << "acme.myshopify.com:8443" << "";
    QTest::newRow("empty label") << "acme..myshopify.com" << "";
}

void TestShopify::storeAddresses()
{
    QFETCH(QString, typed);
    QFETCH(QString, host);
    QString refusal;
    QString got;
    try {
        got = ShopifySource::shopHost(legacy(typed));
    } catch (const SourceError &e) {
        refusal = e.message();
    }
    QCOMPARE(got, host);
    if (host.isEmpty())
        QCOMPARE(refusal, "Use your store's myshopify.com address, e.g. acme.myshopify.com");

    Account a;
    a.extra = legacy(typed);
    QCOMPARE(ShopifySource::dashboard(a),
             host.isEmpty() ? QUrl() : QUrl("https://" + host + "/admin/orders"));
}

void TestShopify::refusedAddressSendsNothing()
{
    TestHttp t;
    t.server.on("POST", tokenPath, ScriptedResponse::json(R"({"access_token":"t"})"));
    t.server.on("POST", graphqlPath, ScriptedResponse::json(shopAnswer()));
    const QString message = "Use your store's myshopify.com address, e.g. acme.myshopify.com";
    QCOMPARE(failureOf(ShopifySource::verify(t.context(), "shpat_1", legacy("evil.test#.myshopify.com"))), message);
    QCOMPARE(failureOf(ShopifySource::verify(t.context(), "secret", withClient("cid", "shop.acme.com"))), message);
    QCOMPARE(failureOf(ShopifySource::fetch(t.context(), "secret", withClient("cid", ""), account, since())), message);
    QVERIFY(t.server.requests().isEmpty());
}

void TestShopify::tokenExchangeAndCache()
{
    TestHttp t;
    t.server.on("POST", tokenPath, ScriptedResponse::json(R"({"access_token":"tok-1","scope":"read_orders","expires_in":3600})"));
    t.server.on("POST", tokenPath, ScriptedResponse::json(R"({"access_token":"tok-2","scope":"read_orders"})"));
    t.server.on("POST", tokenPath, ScriptedResponse::json(R"({"access_token":"tok-3","expires_in":86399})"));
    t.server.on("POST", graphqlPath, ScriptedResponse::json(shopAnswer()));
    const QString secret = QStringLiteral("s&e=c+r et/\u00fc%");
    const Extra extra = withClient(" cid-9 ", "https://ACME.myshopify.com");

    QCOMPARE(runTask(ShopifySource::verify(t.context(), secret, extra)), "Acme Goods");
    auto exchanges = t.server.requestsTo(tokenPath);
    QCOMPARE(exchanges.size(), 1);
    const RecordedRequest &x = exchanges.first();
    QCOMPARE(x.method, "POST");
    QCOMPARE(x.host(), "acme.myshopify.com");
    QCOMPARE(x.header("Content-Type"), "application/x-www-form-urlencoded");
    QCOMPARE(x.header("Accept"), "application/json");
    QCOMPARE(x.body, "grant_type=client_credentials&client_id=cid-9&client_secret=s%26e%3Dc%2Br%20et%2F%C3%BC%25");
    QCOMPARE(t.server.requestsTo(graphqlPath).last().header("X-Shopify-Access-Token"), "tok-1");

    // Reused until 120 s before expiry, by verify and every page of a fetch alike.
    t.clock.advance(std::chrono::seconds(3600 - 121), std::chrono::hours(1));
    runTask(ShopifySource::fetch(t.context(), secret, extra, account, since()));
    QCOMPARE(t.server.requestsTo(tokenPath).size(), 1);
    QCOMPARE(t.server.requestsTo(graphqlPath).last().header("X-Shopify-Access-Token"), "tok-1");

    // Expiring in 100 s: a fresh exchange, cached with the default lifetime of 86000 s.
    t.clock.advance(std::chrono::seconds(21), std::chrono::hours(1));
    runTask(ShopifySource::verify(t.context(), secret, extra));
    QCOMPARE(t.server.requestsTo(tokenPath).size(), 2);
    QCOMPARE(t.server.requestsTo(graphqlPath).last().header("X-Shopify-Access-Token"), "tok-2");
    t.clock.advance(std::chrono::seconds(86000 - 121), std::chrono::hours(1));
    // Another account of the same store and app, typed differently, shares the entry.
    runTask(ShopifySource::verify(t.context(), secret, withClient("cid-9", "acme.myshopify.com/admin")));
    QCOMPARE(t.server.requestsTo(tokenPath).size(), 2);
    t.clock.advance(std::chrono::seconds(2), std::chrono::hours(1));
    runTask(ShopifySource::verify(t.context(), secret, extra));
    QCOMPARE(t.server.requestsTo(tokenPath).size(), 3);
    QCOMPARE(t.server.requestsTo(graphqlPath).last().header("X-Shopify-Access-Token"), "tok-3");

    // Another app on the same store gets its own token.
    runTask(ShopifySource::verify(t.context(), secret, withClient("other")));
    QCOMPARE(t.server.requestsTo(tokenPath).size(), 4);
    QCOMPARE(t.server.requestsTo(tokenPath).last().body.contains("client_id=other&"), true);
}

void TestShopify::tokenFailures()
{
    TestHttp t;
    t.server.on("POST", graphqlPath, ScriptedResponse::json(shopAnswer()));
    const auto verifyWith = [&](const ScriptedResponse &answer) {
        t.server.reset();
        t.server.on("POST", tokenPath, answer);
        t.caches.shopifyTokens.clear();
        return failureOf(ShopifySource::verify(t.context(), "secret", withClient("cid")));
    };
    const QString noToken = "Shopify didn't return a token. Check the app is installed on this store";
    QCOMPARE(verifyWith(ScriptedResponse::json(R"({"scope":"read_orders"})")), noToken);
    QCOMPARE(verifyWith(ScriptedResponse::json(R"({"access_token":""})")), noToken);
    QCOMPARE(verifyWith(ScriptedResponse::json(R"(["tok"])")), noToken);
    QCOMPARE(verifyWith(ScriptedResponse::json(R"({"error":"invalid_client","error_description":"Client authentication failed due to unknown client."})", 400)),
             "Shopify: Client authentication failed due to unknown client.");
    QCOMPARE(verifyWith(ScriptedResponse::json("", 401)), "Shopify rejected the key. It may have been revoked");
    QVERIFY(t.server.requestsTo(graphqlPath).isEmpty());
    QVERIFY(t.caches.shopifyTokens.isEmpty());

    // An absurd lifetime neither overflows nor pins the token for ever.
    t.server.reset();
    t.server.on("POST", tokenPath, ScriptedResponse::json(R"({"access_token":"tok","expires_in":1e300})"));
    t.server.on("POST", graphqlPath, ScriptedResponse::json(shopAnswer()));
    QCOMPARE(failureOf(ShopifySource::verify(t.context(), "secret", withClient("cid"))), QString());
    const QDateTime expiry = t.caches.shopifyTokens.value("acme.myshopify.comcid").expiry;
    QVERIFY(expiry.isValid() && expiry <= t.clock.now().addDays(366));
}

void TestShopify::legacyTokenSentAsIs()
{
    TestHttp t;
    t.server.on("POST", graphqlPath, ScriptedResponse::json(shopAnswer()));
    for (const Extra &extra : {legacy(), withClient("   ")}) {
        runTask(ShopifySource::verify(t.context(), "shpat_abc123", extra));
        QCOMPARE(t.server.requests().last().header("X-Shopify-Access-Token"), "shpat_abc123");
    }
    QVERIFY(t.server.requestsTo(tokenPath).isEmpty());
    QVERIFY(t.caches.shopifyTokens.isEmpty());
}

void TestShopify::exactGraphqlBodies()
{
    TestHttp t;
    t.server.on("POST", graphqlPath, ScriptedResponse::json(shopAnswer()));
    runTask(ShopifySource::verify(t.context(), "shpat_1", legacy()));
    const RecordedRequest v = t.server.requests().last();
    QCOMPARE(v.method, "POST");
    QCOMPARE(v.host(), "acme.myshopify.com");
    QCOMPARE(v.header("Content-Type"), "application/json");
    QCOMPARE(v.body, R"({"query":"{ shop { name myshopifyDomain } }","variables":{}})");

    t.server.reset();
    t.server.on("POST", graphqlPath, ScriptedResponse::json(ordersPage(order(1), true, "\"eyJsYXN0X2lkIjoxfQ==\"")));
    t.server.on("POST", graphqlPath, ScriptedResponse::json(ordersPage(order(2))));
    const QDateTime cutOff = QDateTime(QDate(2026, 12, 5), QTime(1, 2, 3, 456), QTimeZone(3600));
    QCOMPARE(runTask(ShopifySource::fetch(t.context(), "shpat_1", legacy(), account, cutOff)).size(), 2);
    const auto pages = t.server.requestsTo(graphqlPath);
    QCOMPARE(pages.size(), 2);
    const QString q = "created_at:>'2026-12-05T00:02:03Z'";
    QCOMPARE(bodyOf(pages[0]).value("query").toString(), expectedOrdersQuery);
    QCOMPARE(bodyOf(pages[0]).value("variables").toObject(),
             QJsonObject({{"q", q}, {"after", QJsonValue::Null}}));
    QVERIFY(pages[0].body.contains(R"("after":null)"));
    QCOMPARE(bodyOf(pages[1]).value("query").toString(), expectedOrdersQuery);
    QCOMPARE(bodyOf(pages[1]).value("variables").toObject(),
             QJsonObject({{"q", q}, {"after", "eyJsYXN0X2lkIjoxfQ=="}}));
    QCOMPARE(pages[1].header("X-Shopify-Access-Token"), "shpat_1");
}

void TestShopify::paging()
{
    struct Case {
        const char *name;
        QList<QByteArray> answers;
        int requests;
        int events;
    };
    QByteArray fifty;
    for (int i = 0; i < 50; ++i)
        fifty += (i ? "," : "") + order(i);
    const QList<Case> cases{
        {"always another page", {ordersPage(fifty, true)}, 4, 200},
        {"no cursor", {ordersPage(order(1), true, "null")}, 1, 1},
        {"hasNextPage as text", {R"({"data":{"orders":{"edges":[],"pageInfo":{"hasNextPage":"true","endCursor":"c"}}}})"}, 1, 0},
        {"orders gone on page two", {ordersPage(order(1), true), R"({"data":{"orders":null}})"}, 2, 1},
        {"data missing", {R"({"extensions":{}})"}, 1, 0},
    };
    for (const Case &c : cases) {
        TestHttp t;
        for (const QByteArray &answer : c.answers)
            t.server.on("POST", graphqlPath, ScriptedResponse::json(answer));
        const auto events = runTask(ShopifySource::fetch(t.context(), "shpat_1", legacy(), account, since()));
        QVERIFY2(t.server.requests().size() == c.requests, c.name);
        QVERIFY2(events.size() == c.events, c.name);
    }

    // A failing page fails the whole fetch.
    TestHttp t;
    t.server.on("POST", graphqlPath, ScriptedResponse::json(ordersPage(order(1), true)));
    t.server.on("POST", graphqlPath, ScriptedResponse::json("{}", 503));
    QCOMPARE(failureOf(ShopifySource::fetch(t.context(), "shpat_1", legacy(), account, since())), "Shopify answered 503");
}

void TestShopify::orderMapping()
{
    TestHttp t;
    t.server.on("POST", graphqlPath, ScriptedResponse::json(ordersPage(R"(
        {"node":{"id":"gid://shopify/Order/1","name":"#1001","createdAt":"2026-12-05T10:15:30.250Z","test":false,"cancelledAt":null,
          "totalPriceSet":{"shopMoney":{"amount":"129.90","currencyCode":"EUR"}},
          "lineItems":{"edges":[{"node":{"title":"Linen Shirt","quantity":2}},{"node":{"title":"Belt","quantity":1}},
                                {"node":{"title":"Socks","quantity":3}},{"node":{"title":"Hat","quantity":1}},{"node":{"title":"Scarf","quantity":1}}]}}},
        {"node":{"id":"gid://shopify/Order/2","name":"#1002","createdAt":"2026-12-05T10:16:00Z","test":true,
          "totalPriceSet":{"shopMoney":{"amount":"1500","currencyCode":"JPY"}},
          "lineItems":{"edges":[{"node":{"title":null}},{"node":{"title":"Tea"}},{"node":{"title":"Cup"}}]}}},
        {"node":{"id":"gid://shopify/Order/3","name":"#1003","createdAt":"2026-12-05T10:17:00Z","cancelledAt":"2026-12-05T10:20:00Z",
          "totalPriceSet":{"shopMoney":{"amount":"5.00","currencyCode":"USD"}},"lineItems":{"edges":[]}}},
        {"node":{"id":"gid://shopify/Order/4","createdAt":"2026-12-05T11:00:00+02:00","test":"true",
          "totalPriceSet":{"shopMoney":{"amount":"7.5"}},"lineItems":{"edges":[]}}},
        {"node":{"id":"gid://shopify/Order/5","name":"#1005","createdAt":"2026-12-05T11:01:00Z",
          "totalPriceSet":{"shopMoney":{"amount":7.5,"currencyCode":"USD"}}}},
        {"node":{"name":"#1006","createdAt":"2026-12-05T11:02:00Z"}},
        {"node":{"id":"gid://shopify/Order/7","createdAt":"2026-12-05"}},
        {"node":{"id":"gid://shopify/Order/8","createdAt":1764928800}},
        "not an edge", {"node":"not a node"}
    )")));
    const auto events = runTask(ShopifySource::fetch(t.context(), "shpat_1", legacy(), account, since()));
    QCOMPARE(events.size(), 4);

    QCOMPARE(events[0].id, "gid://shopify/Order/1");
    QCOMPARE(events[0].account, account);
    QCOMPARE(events[0].platform, Platform::Shopify);
    QCOMPARE(events[0].kind, SaleEvent::Kind::Sale);
    QCOMPARE(events[0].title, "Linen Shirt + 2 more"); // three of five items are read
    QCOMPARE(events[0].amount, Money({12990, "EUR"}));
    QCOMPARE(events[0].at, QDateTime(QDate(2026, 12, 5), QTime(10, 15, 30, 250), Qt::UTC));

    QCOMPARE(events[1].title, "Tea + 1 more (test)");
    QCOMPARE(events[1].amount, Money({1500, "JPY"}));

    QCOMPARE(events[2].title, "Order"); // no items, no name; "true" as text is not a test order
    QCOMPARE(events[2].amount, Money({750, "USD"}));
    QCOMPARE(events[2].at, QDateTime(QDate(2026, 12, 5), QTime(9, 0), Qt::UTC));

    QCOMPARE(events[3].title, "#1005");
    QVERIFY(!events[3].amount); // a number is not an amount
}

void TestShopify::graphqlErrorsAndLabels()
{
    TestHttp t;
    const auto verifyAnswer = [&](const QByteArray &body) {
        t.server.reset();
        t.server.on("POST", graphqlPath, ScriptedResponse::json(body));
        try {
            return runTask(ShopifySource::verify(t.context(), "shpat_1", legacy("ACME")));
        } catch (const Failure &f) {
            return QString("failed: " + f.description());
        }
    };
    QCOMPARE(verifyAnswer(R"({"errors":[{"message":"Access denied for shop field.","extensions":{"code":"ACCESS_DENIED"}}]})"),
             "failed: Shopify: Access denied for shop field.");
    QCOMPARE(verifyAnswer(R"({"errors":[{"code":1}],"data":{"shop":{"name":"Still Here"}}})"), "Still Here");
    QCOMPARE(verifyAnswer(R"({"errors":[],"data":{"shop":{"name":""}}})"), "acme.myshopify.com");
    QCOMPARE(verifyAnswer(R"([{"data":{"shop":{"name":"x"}}}])"), "acme.myshopify.com");

    t.server.reset();
    t.server.on("POST", graphqlPath, ScriptedResponse::json(R"j({"errors":"[API] Invalid API key or access token (unrecognized login or wrong password)"})j", 401));
    QCOMPARE(failureOf(ShopifySource::fetch(t.context(), "shpat_1", legacy(), account, since())),
             "Shopify rejected the key. It may have been revoked");
}

void TestShopify::damagedAnswers()
{
    QByteArray edges;
    for (int i = 0; i < 3; ++i)
        edges += (i ? "," : "") + order(i);
    const QJsonObject page = QJsonDocument::fromJson(ordersPage(edges, true)).object();
    QVERIFY(!page.isEmpty());
    JsonFuzz fuzz(20261205);
    TestHttp t;
    QByteArray body;
    t.server.handle([&](const RecordedRequest &) { return ScriptedResponse::json(body); });
    for (int i = 0; i < 300; ++i) {
        body = fuzz.damaged(page);
        try {
            const auto events = runTask(ShopifySource::fetch(t.context(), "shpat_1", legacy(), account, since()));
            for (const SaleEvent &e : events)
                QVERIFY2(!e.id.isEmpty() && e.account == account && e.platform == Platform::Shopify && e.at.isValid(), body);
        } catch (const Failure &) {
        }
    }
}

QTEST_GUILESS_MAIN(TestShopify)
#include "tst_shopify.moc"
