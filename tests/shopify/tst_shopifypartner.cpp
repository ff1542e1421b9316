#include "connectors/shopify/ShopifyPartnerSource.h"
#include "JsonFuzz.h"
#include "support/TestHttp.h"

#include <QJsonDocument>
#include <QTest>

namespace {

const QString apiPath = QStringLiteral("/1234567/api/2026-10/graphql.json");
const QUuid account = QUuid::fromString(QStringLiteral("{0b7d5c1e-2f60-4f7e-8a51-6c2f0e9d4b12}"));

const QString expectedTransactionsQuery = QStringLiteral(R"(query($since: DateTime!, $after: String) {
  transactions(first: 50, after: $after, createdAtMin: $since,
               types: [THEME_SALE, THEME_SALE_ADJUSTMENT, APP_SUBSCRIPTION_SALE, APP_ONE_TIME_SALE, APP_USAGE_SALE, APP_SALE_ADJUSTMENT]) {
    edges { cursor node {
      id createdAt __typename
      ... on ThemeSale { theme { name } grossAmount { amount currencyCode } netAmount { amount currencyCode } }
      ... on ThemeSaleAdjustment { theme { name } netAmount { amount currencyCode } }
      ... on AppSubscriptionSale { app { name } netAmount { amount currencyCode } }
      ... on AppOneTimeSale { app { name } netAmount { amount currencyCode } }
      ... on AppUsageSale { app { name } netAmount { amount currencyCode } }
      ... on AppSaleAdjustment { app { name } netAmount { amount currencyCode } }
    } }
    pageInfo { hasNextPage }
  }
})");

Extra partner(const QString &id = QStringLiteral("1234567"))
{
    return {{QStringLiteral("partnerId"), id}};
}

QDateTime since()
{
    return QDateTime(QDate(2026, 12, 5), QTime(0, 0), Qt::UTC);
}

QByteArray page(const QByteArray &edges, bool hasNext = false)
{
    return R"({"data":{"transactions":{"edges":[)" + edges + R"(],"pageInfo":{"hasNextPage":)"
        + (hasNext ? "true" : "false") + "}}}}";
}

QByteArray sale(int n)
{
    return QStringLiteral(R"({"cursor":"cur-%1","node":{"id":"gid://partners/AppOneTimeSale/%1","createdAt":"2026-12-05T09:00:00Z",)"
                          R"("__typename":"AppOneTimeSale","app":{"name":"Upsell Pro"},"netAmount":{"amount":"8.00","currencyCode":"USD"}}})")
        .arg(n).toUtf8();
}

QJsonObject bodyOf(const RecordedRequest &r)
{
    return QJsonDocument::fromJson(r.body).object();
}

}

class TestShopifyPartner : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void partnerIdDigits_data();
    void partnerIdDigits();
    void noDigitsSendsNothing();
    void exactRequests();
    void transactionMapping();
    void paging();
    void errors();
    void damagedAnswers();
};

void TestShopifyPartner::partnerIdDigits_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("digits");
    QTest::newRow("dashboard address") << "https://partners.shopify.com/1234567/apps" << "1234567";
    QTest::newRow("spaces and letters") << " id: 12 34 567x " << "1234567";
    QTest::newRow("other script digits") << QString::fromUtf8("\u0661\u0662\u0663") << "123";
    QTest::newRow("none") << "partner" << "";
}

void TestShopifyPartner::partnerIdDigits()
{
    QFETCH(QString, typed);
    QFETCH(QString, digits);
    QCOMPARE(ShopifyPartnerSource::partnerId(partner(typed)), digits);
    Account a;
    a.extra = partner(typed);
    QCOMPARE(ShopifyPartnerSource::dashboard(a).toString(),
             digits.isEmpty() ? QString("https://partners.shopify.com/")
                              : "https://partners.shopify.com/" + digits + "/payouts");
}

void TestShopifyPartner::noDigitsSendsNothing()
{
    TestHttp t;
    const QString message = "Add your Partner ID (the number in the Partner Dashboard address)";
    QCOMPARE(failureOf(ShopifyPartnerSource::verify(t.context(), "prtapi_1", partner("none"))), message);
    QCOMPARE(failureOf(ShopifyPartnerSource::fetch(t.context(), "prtapi_1", partner(""), account, since())), message);
    QVERIFY(t.server.requests().isEmpty());
}

void TestShopifyPartner::exactRequests()
{
    TestHttp t;
    t.server.on("POST", apiPath, ScriptedResponse::json(R"({"data":{"transactions":{"edges":[]}}})"));
    QCOMPARE(runTask(ShopifyPartnerSource::verify(t.context(), "prtapi_abc", partner("partners.shopify.com/1234567/"))),
             "Partner 1234567");
    const RecordedRequest v = t.server.requests().last();
    QCOMPARE(v.method, "POST");
    QCOMPARE(v.host(), "partners.shopify.com");
    QCOMPARE(v.path, apiPath);
    QCOMPARE(v.header("Content-Type"), "application/json");
    QCOMPARE(v.header("X-Shopify-Access-Token"), "prtapi_abc");
    QVERIFY(!v.hasHeader("Authorization"));
    QCOMPARE(v.body, R"({"query":"{ transactions(first: 1) { edges { node { id } } } }","variables":{}})");

    t.server.reset();
    t.server.on("POST", apiPath, ScriptedResponse::json(page(sale(1) + "," + sale(2), true)));
    t.server.on("POST", apiPath, ScriptedResponse::json(page(sale(3))));
    const QDateTime cutOff = QDateTime(QDate(2026, 12, 4), QTime(23, 45, 0, 999), Qt::UTC);
    QCOMPARE(runTask(ShopifyPartnerSource::fetch(t.context(), "prtapi_abc", partner(), account, cutOff)).size(), 3);
    const auto pages = t.server.requestsTo(apiPath);
    QCOMPARE(pages.size(), 2);
    QCOMPARE(bodyOf(pages[0]).value("query").toString(), expectedTransactionsQuery);
    QCOMPARE(bodyOf(pages[0]).value("variables").toObject(),
             QJsonObject({{"since", "2026-12-04T23:45:00Z"}, {"after", QJsonValue::Null}}));
    QCOMPARE(bodyOf(pages[1]).value("variables").toObject(),
             QJsonObject({{"since", "2026-12-04T23:45:00Z"}, {"after", "cur-2"}}));
}

void TestShopifyPartner::transactionMapping()
{
    TestHttp t;
    t.server.on("POST", apiPath, ScriptedResponse::json(page(R"(
        {"cursor":"a","node":{"id":"gid://partners/ThemeSale/1","createdAt":"2026-12-05T08:00:00.5Z","__typename":"ThemeSale",
          "theme":{"name":"Dawnlight"},"grossAmount":{"amount":"350.00","currencyCode":"USD"},"netAmount":{"amount":"280.00","currencyCode":"USD"}}},
        {"cursor":"b","node":{"id":"gid://partners/AppSaleAdjustment/2","createdAt":"2026-12-05T08:01:00Z","__typename":"AppSaleAdjustment",
          "app":{"name":"Upsell Pro"},"netAmount":{"amount":"-4.99","currencyCode":"USD"}}},
        {"cursor":"c","node":{"id":"gid://partners/AppSubscriptionSale/3","createdAt":"2026-12-05T08:02:00Z","__typename":"AppSubscriptionSale",
          "app":{"name":"Upsell Pro"},"netAmount":{"amount":"15.20"}}},
        {"cursor":"d","node":{"id":"gid://partners/ThemeSaleAdjustment/4","createdAt":"2026-12-05T08:03:00Z","__typename":"ThemeSaleAdjustment",
          "theme":{"name":""},"app":{"name":"Fallback App"},"netAmount":{"amount":"-350.00","currencyCode":"USD"}}},
        {"cursor":"e","node":{"id":"gid://partners/AppUsageSale/5","createdAt":"2026-12-05T08:04:00Z",
          "netAmount":{"amount":"0.42","currencyCode":"EUR"}}},
        {"cursor":"f","node":{"createdAt":"2026-12-05T08:05:00Z","__typename":"AppOneTimeSale"}},
        {"cursor":"g","node":{"id":"gid://partners/AppOneTimeSale/7","createdAt":"yesterday"}},
        {"cursor":"h"}, 17
    )")));
    const auto events = runTask(ShopifyPartnerSource::fetch(t.context(), "prtapi_1", partner(), account, since()));
    QCOMPARE(events.size(), 5);
    for (const SaleEvent &e : events) {
        QCOMPARE(e.account, account);
        QCOMPARE(e.platform, Platform::ShopifyPartner);
    }
    QCOMPARE(events[0].kind, SaleEvent::Kind::Sale);
    QCOMPARE(events[0].title, "Dawnlight");
    QCOMPARE(events[0].amount, Money({35000, "USD"})); // gross, not net
    QCOMPARE(events[0].at, QDateTime(QDate(2026, 12, 5), QTime(8, 0, 0, 500), Qt::UTC));
    QCOMPARE(events[1].kind, SaleEvent::Kind::Refund);
    QCOMPARE(events[1].amount, Money({-499, "USD"})); // the sign as given
    QCOMPARE(events[2].kind, SaleEvent::Kind::Renewal);
    QCOMPARE(events[2].title, "Upsell Pro");
    QCOMPARE(events[2].amount, Money({1520, "USD"}));
    QCOMPARE(events[3].kind, SaleEvent::Kind::Refund);
    QCOMPARE(events[3].title, "Fallback App");
    QCOMPARE(events[4].kind, SaleEvent::Kind::Sale); // no type
    QCOMPARE(events[4].title, "Shopify sale");
    QCOMPARE(events[4].amount, Money({42, "EUR"}));
}

void TestShopifyPartner::paging()
{
    struct Case {
        const char *name;
        QList<QByteArray> answers;
        int requests;
        int events;
    };
    QByteArray fifty;
    for (int i = 0; i < 50; ++i)
        fifty += (i ? "," : "") + sale(i);
    const QList<Case> cases{
        {"always another page", {page(fifty, true)}, 4, 200},
        {"last edge without cursor", {page(sale(1) + R"(,{"node":{}})", true)}, 1, 1},
        {"transactions gone on page two", {page(sale(1), true), R"({"data":{"transactions":[]}})"}, 2, 1},
        {"hasNextPage missing", {R"({"data":{"transactions":{"edges":[{"cursor":"x"}]}}})"}, 1, 0},
    };
    for (const Case &c : cases) {
        TestHttp t;
        for (const QByteArray &answer : c.answers)
            t.server.on("POST", apiPath, ScriptedResponse::json(answer));
        const auto events = runTask(ShopifyPartnerSource::fetch(t.context(), "prtapi_1", partner(), account, since()));
        QVERIFY2(t.server.requests().size() == c.requests, c.name);
        QVERIFY2(events.size() == c.events, c.name);
    }
}

void TestShopifyPartner::errors()
{
    TestHttp t;
    const auto fetchWith = [&](const ScriptedResponse &answer) {
        t.server.reset();
        t.server.on("POST", apiPath, answer);
        return failureOf(ShopifyPartnerSource::fetch(t.context(), "prtapi_1", partner(), account, since()));
    };
    QCOMPARE(fetchWith(ScriptedResponse::json(R"({"errors":[{"message":"Access denied: missing View financials permission."}],"data":null})")),
             "Shopify Partners: Access denied: missing View financials permission.");
    QCOMPARE(fetchWith(ScriptedResponse::json("", 401)), "Shopify Partners rejected the key. It may have been revoked");
    QCOMPARE(fetchWith(ScriptedResponse::json(R"({"errors":[{"message":"Throttled"}]})", 429)), "Shopify Partners asked us to slow down");
    QCOMPARE(fetchWith(ScriptedResponse::json("[1]")), QString()); // a list is an empty answer, not a failure
}

void TestShopifyPartner::damagedAnswers()
{
    QByteArray edges = sale(1) + "," + sale(2);
    edges += R"(,{"cursor":"t","node":{"id":"gid://partners/ThemeSale/9","createdAt":"2026-12-05T08:00:00Z","__typename":"ThemeSale",)"
             R"("theme":{"name":"Dawnlight"},"grossAmount":{"amount":"350.00","currencyCode":"USD"},"netAmount":{"amount":"280.00","currencyCode":"USD"}}})";
    const QJsonObject answer = QJsonDocument::fromJson(page(edges, true)).object();
    QVERIFY(!answer.isEmpty());
    JsonFuzz fuzz(7);
    TestHttp t;
    QByteArray body;
    t.server.handle([&](const RecordedRequest &) { return ScriptedResponse::json(body); });
    for (int i = 0; i < 300; ++i) {
        body = fuzz.damaged(answer);
        try {
            const auto events = runTask(ShopifyPartnerSource::fetch(t.context(), "prtapi_1", partner(), account, since()));
            for (const SaleEvent &e : events)
                QVERIFY2(!e.id.isEmpty() && e.account == account && e.platform == Platform::ShopifyPartner && e.at.isValid(), body);
        } catch (const Failure &) {
        }
    }
}

QTEST_GUILESS_MAIN(TestShopifyPartner)
#include "tst_shopifypartner.moc"
