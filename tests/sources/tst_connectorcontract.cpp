#include "connectors/SourceCaches.h"
#include "sources/StandardSources.h"
#include "support/AnnouncedOverChecks.h"
#include "support/Fixture.h"
#include "support/JsonFuzz.h"
#include "support/TestHttp.h"

#include <QTest>
#include <QTimeZone>
#include <functional>

// What every connector does alike, driven through the registry the app uses:
// which host it asks and with which credentials, how it tells live from
// sandbox accounts, that damaged answers never crash it nor yield a malformed
// event, and that a payment that fails and is paid later is announced once as
// each. Each connector's own suite keeps what only it does.
namespace {

using Headers = QList<std::pair<QByteArray, QByteArray>>; // an empty value: must be absent
using Bodies = QList<std::pair<QString, QByteArray>>;     // answers by path
using Keeps = std::function<bool(const SaleEvent &)>;     // what a connector's events also keep

const QUuid account = QUuid::fromString(QStringLiteral("{2b8e61f0-7c4d-4a59-a1e3-5d90c4f7e812}"));
// 06:56:57.500 UTC written in another zone: connectors send it in UTC.
const QDateTime since(QDate(2026, 12, 5), QTime(7, 56, 57, 500), QTimeZone(3600));
const Extra shop{{"shop", "acme"}};
const Extra partner{{"partnerId", "1234567"}};
const Extra sandbox{{"sandbox", "1"}};
const Extra woo{{"site", "https://shop.example.com"}, {"consumerKey", "ck_1"}};

QStringList hostsOf(const QList<RecordedRequest> &requests, qsizetype from = 0)
{
    QStringList hosts;
    for (const RecordedRequest &r : requests.mid(from))
        if (!hosts.contains(r.host()))
            hosts.append(r.host());
    return hosts;
}

}

Q_DECLARE_METATYPE(Keeps)

class TestConnectorContract : public QObject {
    Q_OBJECT
    const SourceRegistry m_sources = standardSources();

    const SourceEntry &source(Platform platform) const { return *m_sources.find(platform); }

private Q_SLOTS:
    // Every answer is an empty object; each request carries the key as the
    // platform expects it, and the cut-off in UTC whole seconds.
    void requests_data()
    {
        QTest::addColumn<Platform>("platform");
        QTest::addColumn<QString>("key");
        QTest::addColumn<Extra>("extra");
        QTest::addColumn<QString>("host");
        QTest::addColumn<Headers>("headers");
        QTest::addColumn<QStringList>("verifyTargets"); // every request verify sends, in order
        QTest::addColumn<QStringList>("fetchTargets");  // requests fetch sends, among others
        const auto row = [](const char *name, Platform p, const char *key, Extra extra,
                            const char *host, Headers headers, QStringList verify,
                            QStringList fetch) {
            const QByteArray k(key);
            headers.prepend(
                k.startsWith("shpat_") || k.startsWith("prtapi_")
                    ? std::pair<QByteArray, QByteArray>{"X-Shopify-Access-Token", k}
                    : std::pair<QByteArray, QByteArray>{"Authorization", "Bearer " + k});
            QTest::newRow(name) << p << QString(key) << extra << QString(host) << headers << verify
                                << fetch;
        };
        const std::pair<QByteArray, QByteArray> json{"Accept", "application/json"};
        const QString at = QStringLiteral("2026-12-05T06%3A56%3A57Z");
        using P = Platform;
        row("Stripe", P::Stripe, "rk_live_1", {}, "api.stripe.com", {},
            {"/v1/events?limit=1", "/v1/account"},
            {"/v1/events?types[]=charge.succeeded&types[]=charge.failed&types[]=charge.refunded"
             "&created[gt]=1796453817&limit=100"});
        row("Gumroad", P::Gumroad, "gum_1", {}, "api.gumroad.com", {}, {"/v2/user"},
            {"/v2/sales?after=2026-12-04"}); // the day before, in UTC
        row("Lemon Squeezy", P::LemonSqueezy, "ls_1", {}, "api.lemonsqueezy.com",
            {{"Accept", "application/vnd.api+json"}}, {"/v1/users/me", "/v1/stores"},
            {"/v1/orders?page[size]=50&page[number]=1",
             "/v1/subscription-invoices?page[size]=50&include=subscription"});
        row("Shopify", P::Shopify, "shpat_1", shop, "acme.myshopify.com",
            {{"Content-Type", "application/json"}}, {"/admin/api/2026-10/graphql.json"},
            {"/admin/api/2026-10/graphql.json"});
        row("Shopify Partners", P::ShopifyPartner, "prtapi_1", partner, "partners.shopify.com",
            {{"Content-Type", "application/json"}, {"Authorization", {}}},
            {"/1234567/api/2026-10/graphql.json"}, {"/1234567/api/2026-10/graphql.json"});
        row("Paddle", P::Paddle, "pdl_live_1", {}, "api.paddle.com",
            {{"Paddle-Version", "1"}, json}, {"/transactions?per_page=1"},
            {"/transactions?updated_at[GT]=" + at + "&order_by=updated_at%5BASC%5D&per_page=30"});
        row("Polar", P::Polar, "polar_oat_1", {}, "api.polar.sh", {json}, {"/v1/orders/?limit=1"},
            {"/v1/orders/?created_after=" + at + "&sorting=-created_at&limit=100",
             // renewals paid late: three days back
             "/v1/orders/?created_after=2026-12-02T06%3A56%3A57Z&product_billing_type=recurring"
             "&sorting=-created_at&limit=100"});
        row("Dodo Payments", P::Dodo, "dodo_1", {}, "live.dodopayments.com", {json},
            {"/payments?page_size=1"}, {"/payments?created_at_gte=" + at + "&page_size=100"});
        row("Square", P::Square, "EAAA1", {}, "connect.squareup.com",
            {{"Square-Version", "2026-09-16"}}, {"/v2/merchants/me"},
            {"/v2/payments?begin_time=" + at + "&sort_order=DESC&limit=100"});
        row("Whop", P::Whop, "apik_1", {}, "api.whop.com", {}, {"/api/v1/payments?first=1"},
            {"/api/v1/payments?created_after=" + at
             + "&order=created_at&direction=desc&first=100"});
    }

    void requests()
    {
        QFETCH(Platform, platform);
        QFETCH(QString, key);
        QFETCH(Extra, extra);
        QFETCH(QString, host);
        QFETCH(Headers, headers);
        QFETCH(QStringList, verifyTargets);
        QFETCH(QStringList, fetchTargets);
        TestHttp t;
        t.server.handle([](const RecordedRequest &) { return ScriptedResponse::json("{}"); });
        QCOMPARE(failureOf(source(platform).verify(t.context(), key, extra)), QString());
        QStringList sent;
        for (const RecordedRequest &r : t.server.requests())
            sent.append(QString::fromUtf8(r.rawTarget));
        QCOMPARE(sent, verifyTargets);
        QCOMPARE(failureOf(source(platform).fetch(t.context(), key, extra, account, since, {})),
                 QString());
        for (const RecordedRequest &r : t.server.requests().mid(verifyTargets.size()))
            sent.append(QString::fromUtf8(r.rawTarget));
        for (const QString &target : fetchTargets)
            QVERIFY2(sent.contains(target), qPrintable(sent.join(u'\n')));
        QCOMPARE(hostsOf(t.server.requests()), QStringList{host});
        for (const RecordedRequest &r : t.server.requests())
            for (const auto &[name, value] : headers)
                QVERIFY2(value.isEmpty() ? !r.hasHeader(name) : r.header(name) == value, name);
    }

    // Which environment an account is in: from the key's shape, from the
    // account's sandbox flag (exactly "1"), or, when production refuses the
    // key, from the sandbox accepting it. Fetch then stays where it belongs.
    void environments_data()
    {
        QTest::addColumn<Platform>("platform");
        QTest::addColumn<QString>("key");
        QTest::addColumn<Extra>("extra");
        QTest::addColumn<QString>("refusing"); // a host that refuses every key
        QTest::addColumn<QString>("label");
        QTest::addColumn<QStringList>("verifyHosts");
        QTest::addColumn<QStringList>("fetchHosts");
        const auto row = [](const QByteArray &name, Platform p, const char *key, Extra extra,
                            const char *refusing, const char *label, QStringList verifyHosts,
                            QStringList fetchHosts) {
            QTest::newRow(name.constData())
                << p << QString(key) << extra << QString(refusing) << QString::fromUtf8(label)
                << verifyHosts << fetchHosts;
        };
        using P = Platform;
        row("stripe live", P::Stripe, "rk_live_1", {}, "", "Stripe", {"api.stripe.com"},
            {"api.stripe.com"});
        row("stripe test", P::Stripe, "sk_test_1", {}, "", "Stripe (test mode)", {"api.stripe.com"},
            {"api.stripe.com"});
        const QString paddle = "api.paddle.com", paddleSandbox = "sandbox-api.paddle.com";
        row("paddle live", P::Paddle, "pdl_live_apikey_1", {}, "", "Paddle", {paddle}, {paddle});
        row("paddle sandbox", P::Paddle, "pdl_sdbx_apikey_1", {}, "", "Paddle (sandbox)",
            {paddleSandbox}, {paddleSandbox});
        row("paddle: sdbx anywhere", P::Paddle, "apikey_xsdbxy", {}, "", "Paddle (sandbox)",
            {paddleSandbox}, {paddleSandbox});
        const QString dodo = "live.dodopayments.com", dodoTest = "test.dodopayments.com";
        row("dodo live", P::Dodo, "Xk3Rj9.vN8pT4", {}, "", "Dodo Payments", {dodo}, {dodo});
        row("dodo test", P::Dodo, "dodo_test_Xk3Rj9", {}, "", "Dodo Payments (test mode)",
            {dodoTest}, {dodoTest});
        row("dodo: test prefix only at the start", P::Dodo, "sk_dodo_test_1", {}, "",
            "Dodo Payments", {dodo}, {dodo});
        row("dodo: prefix is case-sensitive", P::Dodo, "DODO_TEST_1", {}, "", "Dodo Payments",
            {dodo}, {dodo});
        for (const auto &[p, name, live, test] :
             {std::tuple{P::Polar, "Polar", "api.polar.sh", "sandbox-api.polar.sh"},
              std::tuple{P::Square, "Square", "connect.squareup.com",
                         "connect.squareupsandbox.com"},
              std::tuple{P::Whop, "Whop", "api.whop.com", "sandbox-api.whop.com"}}) {
            const QString s = QString(name) + " (sandbox)";
            const QByteArray n = QByteArray(name).toLower();
            row(n + " live", p, "k_1", {}, test, name, {live}, {live});
            row(n + " sandbox key", p, "k_1", {}, live, s.toUtf8(), {live, test},
                p == P::Polar ? QStringList{live, test} : QStringList{live});
            row(n + " sandbox account", p, "k_1", sandbox, live, s.toUtf8(), {test}, {test});
            row(n + ": sandbox flag must be exactly 1", p, "k_1", {{"sandbox", "true"}}, test, name,
                {live}, {live});
        }
    }

    void environments()
    {
        QFETCH(Platform, platform);
        QFETCH(QString, key);
        QFETCH(Extra, extra);
        QFETCH(QString, refusing);
        QFETCH(QString, label);
        QFETCH(QStringList, verifyHosts);
        QFETCH(QStringList, fetchHosts);
        TestHttp t;
        t.server.handle([&](const RecordedRequest &r) {
            return r.host() == refusing ? ScriptedResponse::json(R"({"error":"no"})", 401)
                                        : ScriptedResponse::json("{}");
        });
        QCOMPARE(runTask(source(platform).verify(t.context(), key, extra)), label);
        QCOMPARE(hostsOf(t.server.requests()), verifyHosts);
        const qsizetype asked = t.server.requests().size();
        // A sandbox key without the flag fails where only Polar tries the sandbox.
        failureOf(source(platform).fetch(t.context(), key, extra, account, since, {}));
        QCOMPARE(hostsOf(t.server.requests(), asked), fetchHosts);
    }

    // Damaged versions of one recorded answer while the others stay as
    // recorded: the fetch either fails with a sentence or returns well-formed
    // events, never anything else.
    void damagedAnswers_data()
    {
        QTest::addColumn<Platform>("platform");
        QTest::addColumn<Extra>("extra");
        QTest::addColumn<Bodies>("recorded");
        QTest::addColumn<int>("damaged"); // which of them
        QTest::addColumn<Keeps>("keeps");
        QTest::addColumn<bool>("mayFail");
        const auto row = [](const char *name, Platform p, Extra extra, Bodies recorded,
                            int damaged = 0, Keeps keeps = {}, bool mayFail = true) {
            QTest::newRow(name) << p << extra << recorded << damaged << keeps << mayFail;
        };
        using P = Platform;
        const Bodies stripe{{"/v1/events", fixture("stripe/describe-events.json")},
                            {"/v1/invoices/in_1", fixture("stripe/invoice.json")},
                            {"/v1/checkout/sessions", fixture("stripe/checkout-sessions.json")}};
        for (int damaged : {0, 1, 2})
            row("stripe", P::Stripe, {}, stripe, damaged, Keeps(), false);
        row("stripe mapping", P::Stripe, {},
            {{"/v1/events", fixture("stripe/mapping-events.json")}}, 0, Keeps(), false);
        row("gumroad", P::Gumroad, {}, {{"/v2/sales", fixture("gumroad/sales-mixed.json")}}, 0,
            [](const SaleEvent &e) { return e.at >= since; });
        const Bodies lemon{{"/v1/orders", fixture("lemonsqueezy/orders-mixed.json")},
                           {"/v1/subscription-invoices",
                            fixture("lemonsqueezy/subscription-invoices-mixed.json")}};
        row("lemonsqueezy orders", P::LemonSqueezy, {}, lemon, 0);
        row("lemonsqueezy invoices", P::LemonSqueezy, {}, lemon, 1);
        row("shopify", P::Shopify, shop,
            {{"/admin/api/2026-10/graphql.json", fixture("shopify/orders-page.json")}});
        row("shopify partners", P::ShopifyPartner, partner,
            {{"/1234567/api/2026-10/graphql.json",
              fixture("shopify/partner-transactions.json").replace("false", "true")}});
        row("paddle", P::Paddle, {}, {{"/transactions", fixture("paddlepolar/paddle-mixed.json")}});
        row("polar", P::Polar, {}, {{"/v1/orders/", fixture("paddlepolar/polar-mixed.json")}});
        row("dodo", P::Dodo, {}, {{"/payments", fixture("dodo/payments-mixed.json")}});
        const Keeps hasAmount = [](const SaleEvent &e) { return e.amount.has_value(); };
        const Bodies square{{"/v2/payments", fixture("square/payments.json")},
                            {"/v2/orders/batch-retrieve", fixture("square/orders.json")}};
        row("square payments", P::Square, {}, square, 0, hasAmount, false);
        row("square orders", P::Square, {}, square, 1, hasAmount, false);
        const QByteArray product = R"({"id":"prod_course","title":"Trading Course","name":"n"})";
        const Bodies whop{{"/api/v1/payments", fixture("whop/payments.json")},
                          {"/api/v1/products/prod_course", product},
                          {"/api/v1/products/prod_gone", product}};
        row("whop payments", P::Whop, {}, whop, 0, Keeps(), false);
        row("whop products", P::Whop, {}, whop, 1, Keeps(), false);
        row("woocommerce", P::WooCommerce, woo,
            {{"/wp-json/wc/v3/orders", fixture("woocommerce/orders.json")}}, 0,
            [](const SaleEvent &e) { return !e.title.isEmpty(); });
    }

    void damagedAnswers()
    {
        QFETCH(Platform, platform);
        QFETCH(Extra, extra);
        QFETCH(Bodies, recorded);
        QFETCH(int, damaged);
        QFETCH(Keeps, keeps);
        QFETCH(bool, mayFail);
        TestHttp t;
        QByteArray current;
        t.server.handle([&](const RecordedRequest &r) -> std::optional<ScriptedResponse> {
            for (qsizetype i = 0; i < recorded.size(); ++i)
                if (r.path == recorded[i].first)
                    return ScriptedResponse::json(i == damaged ? current : recorded[i].second);
            return std::nullopt;
        });
        const auto outcomes = JsonFuzz::feed(
            JsonFuzz::variants(recorded[damaged].second, 300, 20261205 + damaged), account,
            [&](const QByteArray &body) {
                current = body;
                t.caches.whopProductNames.clear();
            },
            [&] {
                return JsonFuzz::checked(
                    source(platform).fetch(t.context(), "k_1", extra, account, since, {}),
                    [&](const SaleEvent &e) { return !keeps || keeps(e); });
            });
        QCOMPARE(outcomes.faults, 0);
        QVERIFY(outcomes.events > 0);
        // An answer cut short must fail the fetch, not pass for an empty one.
        QVERIFY(!mayFail || outcomes.failures > 0);
    }

    // A payment that fails and is paid later keeps its id: the failure and the
    // payment are each announced once, and waiting says nothing.
    void failedThenPaid_data()
    {
        QTest::addColumn<Platform>("platform");
        QTest::addColumn<Extra>("extra");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("body"); // %1: the status at each check
        QTest::addColumn<QStringList>("statuses");
        QTest::addColumn<QStringList>("announced");
        const auto recorded = [](const char *name, const char *status) {
            return QString::fromUtf8(fixture(name))
                .replace(QStringLiteral("\"status\": \"%1\"").arg(QLatin1String(status)),
                         QStringLiteral("\"status\": \"%1\""));
        };
        QTest::newRow("lemonsqueezy renewal")
            << Platform::LemonSqueezy << Extra() << "/v1/subscription-invoices"
            << recorded("lemonsqueezy/subscription-invoices-page.json", "paid")
            << QStringList{"pending", "failed", "failed", "paid", "paid"}
            << QStringList{"failed si_3#failed", "renewal si_3"};
        QTest::newRow("paddle renewal")
            << Platform::Paddle << Extra() << "/transactions"
            << recorded("paddlepolar/paddle-transactions.json", "completed")
                   .replace("\"origin\": \"web\"", "\"origin\": \"subscription_recurring\"")
            << QStringList{"past_due", "past_due", "completed", "completed"}
            << QStringList{"failed txn_01hv8wptq8987qeep44cyrewp9#failed",
                           "renewal txn_01hv8wptq8987qeep44cyrewp9"};
        QTest::newRow("whop uncollectible")
            << Platform::Whop << Extra() << "/api/v1/payments"
            << R"({"data":[{"id":"pay_1","status":"%1","created_at":"2026-12-05T10:00:00Z",)"
               R"("product":{"id":"prod_1","title":"Course"},"total":9,"currency":"usd"}]})"
            << QStringList{"uncollectible", "uncollectible", "paid", "paid"}
            << QStringList{"failed pay_1#failed", "sale pay_1"};
        QTest::newRow("woocommerce order")
            << Platform::WooCommerce << woo << "/wp-json/wc/v3/orders"
            << R"([{"id":730,"status":"%1","date_created_gmt":"2026-12-05T10:00:00",)"
               R"("total":"9.00","line_items":[{"name":"Mug"}]}])"
            << QStringList{"failed", "failed", "processing", "completed"}
            << QStringList{"failed 730#failed", "sale 730"};
    }

    void failedThenPaid()
    {
        QFETCH(Platform, platform);
        QFETCH(Extra, extra);
        QFETCH(QString, path);
        QFETCH(QString, body);
        QFETCH(QStringList, statuses);
        QFETCH(QStringList, announced);
        TestHttp t;
        int check = 0;
        t.server.handle([&](const RecordedRequest &r) {
            return ScriptedResponse::json(r.path == path ? body.arg(statuses[check]).toUtf8()
                                                         : QByteArray("{}"));
        });
        QCOMPARE(announcedOverChecks(account, t.clock.now(), statuses.size(),
                                     [&](int i) {
                                         check = i;
                                         return source(platform).fetch(t.context(), "k_1", extra,
                                                                       account, since, {});
                                     }),
                 announced);
    }
};

QTEST_GUILESS_MAIN(TestConnectorContract)
#include "tst_connectorcontract.moc"
