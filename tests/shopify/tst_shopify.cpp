#include "connectors/shopify/ShopifySource.h"
#include "support/Fixture.h"
#include "support/TestHttp.h"
#include "support/TextTable.h"

#include <QJsonDocument>
#include <QTest>
#include <QTimeZone>

// Hosts, labels, what it reads from a recorded answer, where paging stops, headers, the platform's
// own error sentences and damaged answers: tests/sources.
namespace {

const QString graphqlPath = QStringLiteral("/admin/api/2026-10/graphql.json");
const QString tokenPath = QStringLiteral("/admin/oauth/access_token");
const QString refused =
    QStringLiteral("Use your store's myshopify.com address, e.g. acme.myshopify.com");
const QUuid account = QUuid::createUuid();
const QDateTime since(QDate(2026, 12, 5), QTime(0, 0), Qt::UTC);
const QByteArray shopAnswer =
    R"({"data":{"shop":{"name":"Acme Goods","myshopifyDomain":"acme.myshopify.com"}}})";

Extra legacy(const QString &shop = QStringLiteral("acme"))
{
    return {{QStringLiteral("shop"), shop}};
}

Extra withClient(const QString &clientId, const QString &shop = QStringLiteral("acme"))
{
    return {{QStringLiteral("shop"), shop}, {QStringLiteral("clientId"), clientId}};
}

// One page of the recorded-shape order.
QByteArray ordersPage(bool hasNext = false, const QByteArray &cursor = "\"c1\"")
{
    return R"({"data":{"orders":{"edges":[)"
        + fixture("shopify/order-edge.json").replace("N", "1000")
        + R"(],"pageInfo":{"hasNextPage":)" + (hasNext ? "true" : "false") + R"(,"endCursor":)"
        + cursor + "}}}}";
}

QCoro::Task<Fetched> fetchWithToken(TestHttp &t, const QDateTime &from = since)
{
    return ShopifySource::fetch(t.context(), "shpat_1", legacy(), account, from);
}

}

class TestShopify : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void storeAddresses_data()
    {
        const auto row = textTable("typed", "host"); // empty: refused
        row("capitals, scheme and path", "  HTTPS://Acme-Goods.MyShopify.com/admin/orders ",
            "acme-goods.myshopify.com");
        row("bare name", "acme", "acme.myshopify.com");
        row("plain http", "http://acme.myshopify.com", "acme.myshopify.com");
        row("custom domain", "shop.acme.com");
        row("empty", "");
        row("domain alone", "myshopify.com");
        row("domain as a prefix", "acme.myshopify.com.evil.test");
        row("inner space", "acme goods");
        row("fragment trick", "evil.test#.myshopify.com");
        row("query trick", "evil.test?.myshopify.com");
        row("user info trick", "evil.test@acme.myshopify.com");
        row("backslash trick", "evil.test\\.myshopify.com");
        row("port", "acme.myshopify.com:8443");
        row("empty label", "acme..myshopify.com");
    }

    void storeAddresses()
    {
        QFETCH(QString, typed);
        QFETCH(QString, host);
        QCOMPARE(ShopifySource::dashboard({.extra = legacy(typed)}),
                 host.isEmpty() ? QUrl() : QUrl("https://" + host + "/admin/orders"));
        if (!host.isEmpty()) {
            QCOMPARE(ShopifySource::shopHost(legacy(typed)), host);
            return;
        }
        // A refused address sends nothing, not even the key exchange.
        TestHttp t;
        QCOMPARE(failureOf(ShopifySource::verify(t.context(), "shpat_1", legacy(typed))), refused);
        QCOMPARE(failureOf(ShopifySource::verify(t.context(), "secret", withClient("cid", typed))),
                 refused);
        QCOMPARE(failureOf(ShopifySource::fetch(t.context(), "secret", withClient("cid", typed),
                                                account, since)),
                 refused);
        QVERIFY(t.server.requests().isEmpty());
    }

    void tokenExchangeAndCache()
    {
        TestHttp t;
        t.server.on("POST", tokenPath,
                    ScriptedResponse::json(
                        R"({"access_token":"tok-1","scope":"read_orders","expires_in":3600})"));
        t.server.on("POST", tokenPath,
                    ScriptedResponse::json(R"({"access_token":"tok-2","scope":"read_orders"})"));
        t.server.on("POST", tokenPath,
                    ScriptedResponse::json(R"({"access_token":"tok-3","expires_in":86399})"));
        t.server.on("POST", graphqlPath, ScriptedResponse::json(shopAnswer));
        const QString secret = QStringLiteral("s&e=c+r et/\u00fc%");
        const Extra extra = withClient(" cid-9 ", "https://ACME.myshopify.com");
        const auto verify = [&](const Extra &e) {
            return runTask(ShopifySource::verify(t.context(), secret, e));
        };
        const auto later = [&](int seconds) {
            t.clock.advance(std::chrono::seconds(seconds), std::chrono::hours(1));
        };
        const auto expect = [&](qsizetype exchanges, const char *token) {
            QCOMPARE(t.server.requestsTo(tokenPath).size(), exchanges);
            QCOMPARE(t.server.requestsTo(graphqlPath).last().header("X-Shopify-Access-Token"),
                     token);
        };

        QCOMPARE(verify(extra), "Acme Goods");
        const RecordedRequest x = t.server.requestsTo(tokenPath).first();
        QCOMPARE(x.host(), "acme.myshopify.com");
        QCOMPARE(x.header("Content-Type"), "application/x-www-form-urlencoded");
        QCOMPARE(x.header("Accept"), "application/json");
        QCOMPARE(
            x.body,
            "grant_type=client_credentials&client_id=cid-9&client_secret=s%26e%3Dc%2Br%20et%2F%C3%BC%25");
        expect(1, "tok-1");

        // Reused until 120 s before expiry, by verify and every page of a fetch alike.
        later(3600 - 121);
        runTask(ShopifySource::fetch(t.context(), secret, extra, account, since));
        expect(1, "tok-1");
        // Expiring in 100 s: a fresh exchange, cached with the default lifetime of 86000 s.
        later(21);
        verify(extra);
        expect(2, "tok-2");
        // Another account of the same store and app, typed differently, shares the entry.
        later(86000 - 121);
        verify(withClient("cid-9", "acme.myshopify.com/admin"));
        expect(2, "tok-2");
        later(2);
        verify(extra);
        expect(3, "tok-3");
        // Another app on the same store gets its own token.
        verify(withClient("other"));
        QVERIFY(t.server.requestsTo(tokenPath).value(3).body.contains("client_id=other&"));
    }

    void tokenFailures()
    {
        TestHttp t;
        const auto verifyWith = [&](const ScriptedResponse &answer) {
            t.server.reset();
            t.server.on("POST", tokenPath, answer);
            t.server.on("POST", graphqlPath, ScriptedResponse::json(shopAnswer));
            t.caches.shopifyTokens.clear();
            return failureOf(ShopifySource::verify(t.context(), "secret", withClient("cid")));
        };
        const QString noToken =
            "Shopify didn't return a token. Check the app is installed on this store";
        QCOMPARE(verifyWith(ScriptedResponse::json(R"({"scope":"read_orders"})")), noToken);
        QCOMPARE(verifyWith(ScriptedResponse::json(R"({"access_token":""})")), noToken);
        QCOMPARE(verifyWith(ScriptedResponse::json(R"(["tok"])")), noToken);
        QCOMPARE(
            verifyWith(ScriptedResponse::json(
                R"({"error":"invalid_client","error_description":"Client authentication failed due to unknown client."})",
                400)),
            "Shopify: Client authentication failed due to unknown client.");
        QVERIFY(t.server.requestsTo(graphqlPath).isEmpty());
        QVERIFY(t.caches.shopifyTokens.isEmpty());

        // An absurd lifetime neither overflows nor pins the token for ever.
        QCOMPARE(verifyWith(ScriptedResponse::json(R"({"access_token":"tok","expires_in":1e300})")),
                 QString());
        const QDateTime expiry =
            t.caches.shopifyTokens
                .value(ShopifySource::tokenKey("acme.myshopify.com", "cid", "secret"))
                .expiry;
        QVERIFY(expiry.isValid() && expiry <= t.clock.now().addDays(366));
    }

    // A second account of the same store and app whose secret is wrong never
    // rides on the first one's token; a token the store rejects is dropped
    // and exchanged once more; a pasted token is never exchanged.
    void tokensBelongToTheirSecret()
    {
        TestHttp t;
        QString accepted = "tok-1";
        int issued = 0;
        t.server.handle([&](const RecordedRequest &r) -> std::optional<ScriptedResponse> {
            if (r.path == tokenPath) {
                if (!r.body.contains("client_secret=good"))
                    return ScriptedResponse::json("", 401);
                return ScriptedResponse::json(
                    QStringLiteral(R"({"access_token":"tok-%1","scope":"read_orders"})")
                        .arg(++issued)
                        .toUtf8());
            }
            if (r.header("X-Shopify-Access-Token") != accepted.toUtf8())
                return ScriptedResponse::json(
                    R"x({"errors":"[API] Invalid API key or access token (unrecognized login or wrong password)"})x",
                    401);
            return ScriptedResponse::json(shopAnswer);
        });
        const auto verify = [&](const QString &secret, const Extra &extra) {
            return failureOf(ShopifySource::verify(t.context(), secret, extra));
        };
        const QString rejected = "Shopify rejected the key. It may have been revoked";
        QCOMPARE(verify("good", withClient("cid")), QString());
        QCOMPARE(verify("wrong", withClient("cid")), rejected);
        QCOMPARE(t.server.requestsTo(tokenPath).size(), 2);

        // The app was reinstalled: the cached token is refused, a new one works.
        accepted = "tok-2";
        QCOMPARE(verify("good", withClient("cid")), QString());
        QCOMPARE(t.server.requestsTo(tokenPath).size(), 3);
        QStringList sent;
        for (const RecordedRequest &r : t.server.requestsTo(graphqlPath))
            sent.append(QString::fromUtf8(r.header("X-Shopify-Access-Token")));
        QCOMPARE(sent, (QStringList{"tok-1", "tok-1", "tok-2"}));
        // Refused again after a fresh exchange: one more try only.
        accepted = "none";
        QCOMPARE(verify("good", withClient("cid")), rejected);
        QCOMPARE(t.server.requestsTo(tokenPath).size(), 4);
        QCOMPARE(verify("shpat_1", legacy()), rejected);
        QCOMPARE(t.server.requestsTo(tokenPath).size(), 4);
        QCOMPARE(t.server.requestsTo(graphqlPath).size(), 6);
    }

    void exactGraphqlBodies()
    {
        TestHttp t;
        t.server.on("POST", graphqlPath, ScriptedResponse::json(shopAnswer));
        // A legacy admin token, or a blank client id, goes out as is with no exchange.
        for (const Extra &extra : {legacy(), withClient("   ")}) {
            runTask(ShopifySource::verify(t.context(), "shpat_1", extra));
            const RecordedRequest v = t.server.requests().last();
            QCOMPARE(v.header("X-Shopify-Access-Token"), "shpat_1");
            QCOMPARE(v.body, R"({"query":"{ shop { name myshopifyDomain } }","variables":{}})");
        }
        QVERIFY(t.server.requestsTo(tokenPath).isEmpty() && t.caches.shopifyTokens.isEmpty());

        t.server.reset();
        t.server.on("POST", graphqlPath,
                    ScriptedResponse::json(ordersPage(true, "\"eyJsYXN0X2lkIjoxfQ==\"")));
        t.server.on("POST", graphqlPath, ScriptedResponse::json(ordersPage()));
        QCOMPARE(
            runTask(fetchWithToken(
                        t, QDateTime(QDate(2026, 12, 5), QTime(1, 2, 3, 456), QTimeZone(3600))))
                .size(),
            2);
        const QString q = "created_at:>'2026-12-05T00:02:03Z'";
        const QList<QJsonValue> cursors{QJsonValue::Null, "eyJsYXN0X2lkIjoxfQ=="};
        QCOMPARE(t.server.requests().size(), 2);
        for (int page = 0; page < 2; ++page)
            QCOMPARE(
                QJsonDocument::fromJson(t.server.requests()[page].body).object(),
                QJsonObject({{"query", QString::fromUtf8(fixture("shopify/orders-query.graphql"))},
                             {"variables", QJsonObject({{"q", q}, {"after", cursors[page]}})}}));
    }
};

QTEST_GUILESS_MAIN(TestShopify)
#include "tst_shopify.moc"
