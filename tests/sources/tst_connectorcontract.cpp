#include "connectors/SourceCaches.h"
#include "sources/StandardSources.h"
#include "support/AnnouncedOverChecks.h"
#include "support/EventLines.h"
#include "support/Fixture.h"
#include "support/JsonFuzz.h"
#include "support/TestHttp.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <QTimeZone>
#include <functional>

// What every connector does alike, driven through the registry the app uses:
// which host it asks and with which credentials, how it tells live from
// sandbox accounts, what each reads from a recorded answer, that damaged
// answers never crash it nor yield a malformed event, and that a payment that fails and is paid
// later is announced once as each. Each connector's own suite keeps what only it does.
namespace {

using Headers = QList<std::pair<QByteArray, QByteArray>>;   // an empty value: must be absent
using Bodies = QList<std::pair<QString, QByteArray>>;       // answers by path
using Keeps = std::function<bool(const SaleEvent &)>;       // what a connector's events also keep
using Routes = QList<std::pair<QString, ScriptedResponse>>; // answers by path

const QUuid account = QUuid::fromString(QStringLiteral("{2b8e61f0-7c4d-4a59-a1e3-5d90c4f7e812}"));
// 06:56:57.500 UTC written in another zone: connectors send it in UTC.
const QDateTime since(QDate(2026, 12, 5), QTime(7, 56, 57, 500), QTimeZone(3600));
const Extra shop{{"shop", "acme"}};
const Extra partner{{"partnerId", "1234567"}};
const Extra sandbox{{"sandbox", "1"}};
const Extra woo{{"site", "https://shop.example.com"}, {"consumerKey", "ck_1"}};

// Lines of events all made at one time of the day.
QStringList at(const char *time, const QStringList &lines)
{
    QStringList timed;
    for (const QString &line : lines)
        timed.append(line + QStringLiteral(" @ 12-05 ") + QLatin1String(time));
    return timed;
}

// Answers the recorded bodies by path, whatever the method.
void serve(TestHttp &t, const Bodies &recorded)
{
    t.server.handle([recorded](const RecordedRequest &r) -> std::optional<ScriptedResponse> {
        for (const auto &[path, body] : recorded)
            if (r.path == path)
                return ScriptedResponse::json(body);
        return std::nullopt;
    });
}

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

    // The account's name as its platform gives it, else a plainer one; a
    // name that cannot be read never fails the key.
    void labels_data()
    {
        QTest::addColumn<Platform>("platform");
        QTest::addColumn<QString>("key");
        QTest::addColumn<Extra>("extra");
        QTest::addColumn<Routes>("answers");
        QTest::addColumn<QString>("label");
        const auto row = [](const char *name, Platform p, const char *key, Routes answers,
                            const char *label, Extra extra = {}) {
            QTest::newRow(name) << p << QString(key) << extra << answers
                                << QString::fromUtf8(label);
        };
        const auto json = &ScriptedResponse::json;
        const auto stripe = [&](const char *name, const char *key, int status,
                                const QByteArray &account, const char *label) {
            row(name, Platform::Stripe, key,
                {{"/v1/events", json("{}", 200)}, {"/v1/account", json(account, status)}}, label);
        };
        const auto displayed = [](const char *name) -> QByteArray {
            return R"({"business_profile":{"name":"Acme Ltd"},"settings":{"dashboard":{"display_name":)"
                + QByteArray(name) + "}}}";
        };
        stripe("stripe: display name wins", "rk_live_1", 200, displayed(R"("Acme")"), "Acme");
        stripe("stripe: test mode", "sk_test_1", 200, displayed(R"("Acme")"), "Acme (test mode)");
        stripe("stripe: business name", "rk_live_1", 200, displayed("null"), "Acme Ltd");
        stripe("stripe: empty display name is used", "rk_live_1", 200, displayed(R"("")"), "");
        stripe("stripe: account forbidden", "rk_test_1", 403, displayed("null"),
               "Stripe (test mode)");
        stripe("stripe: no names", "rk_live_1", 200, R"({"business_profile":{"name":7}})",
               "Stripe");
        stripe("stripe: array body", "rk_live_1", 200, "[]", "Stripe");
        stripe("stripe: account unreadable", "rk_live_1", 200, "{\"settings\":", "Stripe");
        // The store's name, else the user's, else the platform's.
        const auto lemon = [&](const char *name, const QByteArray &me, int status,
                               const QByteArray &stores, const char *label) {
            row(name, Platform::LemonSqueezy, "k_1",
                {{"/v1/users/me", json(me, 200)}, {"/v1/stores", json(stores, status)}}, label);
        };
        const QByteArray jane = R"({"data":{"attributes":{"name":"Jane Doe","email":"j@x.com"}}})";
        const QByteArray nameless = R"({"data":{"attributes":{"email":"j@x.com"}}})";
        lemon("lemonsqueezy: store name wins", jane, 200,
              R"({"data":[{"attributes":{"name":"Lemonade Stand"}}]})", "Lemonade Stand");
        lemon("lemonsqueezy: stores fail", jane, 500, R"({"errors":[{"detail":"boom"}]})",
              "Jane Doe");
        lemon("lemonsqueezy: stores fail, no name", nameless, 403, "", "Lemon Squeezy");
        lemon("lemonsqueezy: no stores", jane, 200, R"({"data":[]})", "Jane Doe");
        lemon("lemonsqueezy: store name not text", jane, 200,
              R"({"data":[{"attributes":{"name":7}}]})", "Jane Doe");
        lemon("lemonsqueezy: stores not JSON", jane, 200, "<html>", "Jane Doe");
        lemon("lemonsqueezy: store list not a list", nameless, 200,
              R"({"data":{"attributes":{"name":"X"}}})", "Lemon Squeezy");
        // The user's name, else the e-mail address.
        const auto gumroad = [&](const char *name, const QByteArray &user, const char *label) {
            row(name, Platform::Gumroad, "k_1", {{"/v2/user", json(user, 200)}}, label);
        };
        gumroad("gumroad: name", fixture("gumroad/user.json"), "Ada Shop");
        gumroad("gumroad: empty name", R"({"user":{"name":"","email":"ada@example.com"}})",
                "ada@example.com");
        gumroad("gumroad: name not text", R"({"user":{"name":42,"email":"ada@example.com"}})",
                "ada@example.com");
        gumroad("gumroad: neither", R"({"success":true,"user":{"name":null}})", "Gumroad");
        gumroad("gumroad: no user", R"({"success":true,"user":"ada"})", "Gumroad");
        gumroad("gumroad: array body", R"([{"user":{"name":"x"}}])", "Gumroad");
        row("square: business name", Platform::Square, "k_1",
            {{"/v2/merchants/me",
              json(R"({"merchant":{"id":"M1","business_name":"Corner Café"}})", 200)}},
            "Corner Café");
        row("square: empty name", Platform::Square, "k_1",
            {{"/v2/merchants/me", json(R"({"merchant":{"business_name":""}})", 200)}}, "Square");
        // The shop's name, else its address; errors beside data do not fail.
        const auto shopify = [&](const char *name, const QByteArray &body, const char *label) {
            row(name, Platform::Shopify, "shpat_1",
                {{"/admin/api/2026-10/graphql.json", json(body, 200)}}, label, {{"shop", "ACME"}});
        };
        shopify("shopify: errors beside data",
                R"({"errors":[{"code":1}],"data":{"shop":{"name":"Still Here"}}})", "Still Here");
        shopify("shopify: empty name", R"({"errors":[],"data":{"shop":{"name":""}}})",
                "acme.myshopify.com");
        shopify("shopify: array body", R"([{"data":{"shop":{"name":"x"}}}])", "acme.myshopify.com");
    }

    void labels()
    {
        QFETCH(Platform, platform);
        QFETCH(QString, key);
        QFETCH(Extra, extra);
        QFETCH(Routes, answers);
        QFETCH(QString, label);
        TestHttp t;
        t.server.handle([&](const RecordedRequest &r) -> std::optional<ScriptedResponse> {
            for (const auto &[path, answer] : answers)
                if (r.path == path)
                    return answer;
            return std::nullopt;
        });
        QCOMPARE(runTask(source(platform).verify(t.context(), key, extra)), label);
    }

    // A page that gives no clear way on ends the fetch; a later page that
    // cannot be read keeps what the pages before it gave.
    void pagingStops_data()
    {
        QTest::addColumn<Platform>("platform");
        QTest::addColumn<Extra>("extra");
        QTest::addColumn<QByteArrayList>("pages"); // in turn; the last one repeats
        QTest::addColumn<int>("requests");
        QTest::addColumn<int>("events");
        QTest::addColumn<QByteArray>("goesOn"); // what the second request carries
        const auto row = [](const char *name, Platform p, Extra extra, QByteArrayList pages,
                            int requests, int events, const QByteArray &goesOn = {}) {
            QTest::newRow(name) << p << extra << pages << requests << events << goesOn;
        };
        using P = Platform;
        const QByteArray charge = fixture("stripe/charge-event.json");
        row("stripe: no more", P::Stripe, {}, {R"({"has_more":false,"data":[)" + charge + "]}"}, 1,
            1);
        row("stripe: empty page with more", P::Stripe, {}, {R"({"has_more":true,"data":[]})"}, 1,
            0);
        row("stripe: last without id", P::Stripe, {},
            {R"({"has_more":true,"data":[{"type":"charge.failed","data":{"object":{"id":"ch"}}}]})"},
            1, 0);
        row("stripe: has_more as text", P::Stripe, {},
            {R"({"has_more":"true","data":[{"id":"evt_1"}]})"}, 1, 0);
        const QByteArray txn =
            QJsonDocument(
                QJsonDocument::fromJson(fixture("paddlepolar/paddle-transactions.json"))["data"][0]
                    .toObject())
                .toJson(QJsonDocument::Compact);
        const auto paddle = [](const QByteArray &data, const char *hasMore) -> QByteArray {
            return R"({"data":[)" + data + R"(],"meta":{"pagination":{"has_more":)" + hasMore
                + "}}}";
        };
        row("paddle: has_more false", P::Paddle, {}, {paddle(txn, "false")}, 1, 1);
        row("paddle: has_more as text", P::Paddle, {}, {paddle(txn, R"("true")")}, 1, 1);
        row("paddle: no data but more", P::Paddle, {}, {paddle("", "true")}, 1, 0);
        row("paddle: last id not text", P::Paddle, {}, {paddle(txn + R"(,{"id":2})", "true")}, 1,
            1);
        row("paddle: last element not an object", P::Paddle, {}, {paddle(txn + ",5", "true")}, 1,
            1);
        row("paddle: no meta", P::Paddle, {}, {R"({"data":[)" + txn + "]}"}, 1, 1);
        row("paddle: one more page", P::Paddle, {},
            {paddle(txn, "true"),
             paddle(QByteArray(txn).replace("txn_01hv8wptq8987qeep44cyrewp9", "txn_2"), "false")},
            2, 2, "after=txn_01hv8wptq8987qeep44cyrewp9");
        const QByteArray order = fixture("shopify/order-edge.json").replace("N", "1001");
        const auto orders = [](const QByteArray &edges, const char *pageInfo) -> QByteArray {
            return R"({"data":{"orders":{"edges":[)" + edges + R"(],"pageInfo":)" + pageInfo
                + "}}}";
        };
        row("shopify: no cursor", P::Shopify, shop,
            {orders(order, R"({"hasNextPage":true,"endCursor":null})")}, 1, 1);
        row("shopify: hasNextPage as text", P::Shopify, shop,
            {orders("", R"({"hasNextPage":"true","endCursor":"c"})")}, 1, 0);
        row("shopify: orders gone on page two", P::Shopify, shop,
            {orders(order, R"({"hasNextPage":true,"endCursor":"c1"})"),
             R"({"data":{"orders":null}})"},
            2, 1, R"("after":"c1")");
        row("shopify: data missing", P::Shopify, shop, {R"({"extensions":{}})"}, 1, 0);
        const QByteArray sale = fixture("shopify/partner-sale-edge.json").replace("N", "1");
        const auto sales = [](const QByteArray &edges) -> QByteArray {
            return R"({"data":{"transactions":{"edges":[)" + edges
                + R"(],"pageInfo":{"hasNextPage":true}}}})";
        };
        row("partners: last edge without cursor", P::ShopifyPartner, partner,
            {sales(sale + R"(,{"node":{}})")}, 1, 1);
        row("partners: transactions gone on page two", P::ShopifyPartner, partner,
            {sales(sale), R"({"data":{"transactions":[]}})"}, 2, 1, R"("after":"cur-1")");
        row("partners: hasNextPage missing", P::ShopifyPartner, partner,
            {R"({"data":{"transactions":{"edges":[{"cursor":"x"}]}}})"}, 1, 0);
    }

    void pagingStops()
    {
        QFETCH(Platform, platform);
        QFETCH(Extra, extra);
        QFETCH(QByteArrayList, pages);
        QFETCH(int, requests);
        QFETCH(int, events);
        QFETCH(QByteArray, goesOn);
        TestHttp t;
        QList<ScriptedResponse> answers;
        for (const QByteArray &page : pages)
            answers.append(ScriptedResponse::json(page));
        t.server.answerInTurn(answers);
        const Fetched fetched =
            runTask(source(platform).fetch(t.context(), "k_1", extra, account, since, {}));
        QCOMPARE(t.server.requests().size(), requests);
        QCOMPARE(fetched.size(), events);
        if (requests > 1) {
            const RecordedRequest &next = t.server.requests()[1];
            QVERIFY(next.rawTarget.contains(goesOn) || next.body.contains(goesOn));
        }
    }

    // Each recorded element's id says how it differs from the platform's
    // plain one; those not listed are not reported.
    void mapping_data()
    {
        QTest::addColumn<Platform>("platform");
        QTest::addColumn<Extra>("extra");
        QTest::addColumn<Bodies>("recorded");
        QTest::addColumn<QStringList>("lines");
        const auto row = [](const char *name, Platform p, Extra extra, Bodies recorded,
                            QStringList lines) {
            QTest::newRow(name) << p << extra << recorded << lines;
        };
        using P = Platform;
        // Not yet paid, no id or no readable time: not reported.
        row("dodo", P::Dodo, {}, {{"/payments", fixture("dodo/mapping.json")}},
            at("09:15:02.318",
               {"sale sale Payment | 2900 USD", "renewal renewal Subscription payment | 2900 USD",
                "failed failed Payment | 2900 USD",
                "failed-renewal failed Subscription payment | 2900 USD",
                "no-currency sale Payment | 2900 USD",
                // "inr" and "INR" must count as one currency in the totals.
                "currency-lower-case sale Payment | 2900 INR",
                "amount-as-text sale Payment | 0 USD",
                "subscription-id-not-text sale Payment | 2900 USD"}));
        // Sales without a text id are not reported.
        row("gumroad", P::Gumroad, {}, {{"/v2/sales", fixture("gumroad/sales-mapping.json")}},
            at("08:38:56.250",
               {"as-listed sale Icon Pack | 1999 USD", "fraction-cut sale Icon Pack | 12 USD",
                "negative-fraction sale Icon Pack | -12 USD",
                "price-as-text sale Icon Pack | 0 USD",
                "price-beyond-64-bits sale Icon Pack | 0 USD",
                "no-currency sale Icon Pack | 1999 USD", "empty-currency sale Icon Pack | 1999 USD",
                "euro sale Icon Pack | 1999 EUR", "no-product-name sale Gumroad sale | 1999 USD"}));
        // Invoices carry no product name: their subscription, included, does.
        row("lemonsqueezy", P::LemonSqueezy, {},
            {{"/v1/orders", fixture("lemonsqueezy/orders-mapping.json")},
             {"/v1/subscription-invoices",
              fixture("lemonsqueezy/subscription-invoices-mapping.json")}},
            at("09:30:00.000",
               {"o_paid sale Icon Pack | 1199 USD",
                "o_failed#failed failed Icon Pack | 1199 USD", // keeps its amount
                "o_order-number-title sale Order #1042 | 1199 USD",
                "o_product-name-not-text sale Order #0 | 1199 USD",
                "o_no-currency sale Icon Pack | 1199 USD",
                "o_currency-lower-case sale Icon Pack | 1199 EUR",
                "o_total-as-text sale Icon Pack | 0 USD",
                "o_total-with-fraction sale Icon Pack | 0 USD",
                "o_time-without-fraction sale Icon Pack | 1199 USD",
                "si_paid renewal Pro Plan | 1071 EUR",
                "si_failed#failed failed Pro Plan | 1071 EUR",
                "si_own-product-name renewal Legacy | 1071 EUR",
                "si_subscription-not-included renewal Subscription renewal | 1071 GBP",
                "si_currency-not-text renewal Pro Plan | 1071 USD"}));
        const QString sale = "sale Analytics addon | 2500 EUR",
                      noAmount = "sale Analytics addon | 0 EUR";
        row("paddle", P::Paddle, {},
            {{"/transactions", fixture("paddlepolar/paddle-mapping.json")}},
            at("10:13:10.584",
               {"completed " + sale, "paid " + sale, "renewal renewal Analytics addon | 2500 EUR",
                // Past due is a failure whatever the origin.
                "past-due-renewal#failed failed Analytics addon | 2500 EUR", "signed-total " + sale,
                "decimal-point " + noAmount, "number-total " + noAmount, "no-total " + noAmount,
                "no-currency sale Analytics addon | 2500 USD", "currency-lower-case " + sale,
                "three-items sale Analytics addon + 2 more | 2500 EUR",
                "nameless-first sale Paddle sale + 1 more | 2500 EUR",
                "no-items sale Paddle sale | 2500 EUR"})
                + at("10:12:33.201", {"not-billed " + sale}) // dated when created
                + at("12:00:00.000", {"no-dates " + sale})); // the clock's now
        const QString kit = "sale Framer Kit | 1071 USD", renewal = "renewal Framer Kit | 1071 USD";
        row("polar", P::Polar, {}, {{"/v1/orders/", fixture("paddlepolar/polar-mapping.json")}},
            at("09:41:12.519",
               {"paid " + kit, "pending-but-paid " + kit, "paid-status-flag-false " + kit,
                "renewal " + renewal, "metered-cycle " + renewal, "subscription-start " + kit,
                "item-label sale Framer Kit Pro | 1071 USD", "no-names sale Polar order | 1071 USD",
                "net-amount sale Framer Kit | 900 USD",
                "fractional-total sale Framer Kit | 900 USD",
                "plain-amount sale Framer Kit | 450 USD", "no-amount sale Framer Kit | 0 USD",
                "currency-lower-case sale Framer Kit | 1071 EUR", "no-currency " + kit}));
        // Both product fields: the title wins; a product that cannot be read
        // leaves the platform's title.
        row("whop", P::Whop, {},
            {{"/api/v1/payments", fixture("whop/payments.json")},
             {"/api/v1/products/prod_course",
              R"({"id":"prod_course","title":"Trading Course","name":"x"})"}},
            {"pay_renewal renewal Trading Course | 1999 EUR @ 12-05 11:00:00.250",
             // paid_at null: dated by created_at; total without currency takes the payment's.
             "pay_new sale Trading Course | 4900 GBP @ 12-05 10:00:00.000",
             // Uncollectible is a failed payment even when it was a subscription cycle.
             "pay_failed#failed failed Whop sale | 500 USD @ 12-05 09:00:00.000",
             "pay_no_total sale Whop sale | no amount @ 12-05 08:00:00.000",
             // A plain number is major units in the payment's currency.
             "pay_number_total sale Whop sale | 1999 USD @ 12-05 07:30:00.000"});
        row("shopify", P::Shopify, shop,
            {{"/admin/api/2026-10/graphql.json", fixture("shopify/orders-mapping.json")}},
            {// Only three of the five items are read.
             "gid://shopify/Order/1 sale Linen Shirt + 2 more | 12990 EUR @ 12-05 10:15:30.250",
             "gid://shopify/Order/2 sale Tea + 1 more (test) | 1500 JPY @ 12-05 10:16:00.000",
             // No items, no name; "true" as text is not a test order. Cancelled
             // orders are left out.
             "gid://shopify/Order/4 sale Order | 750 USD @ 12-05 09:00:00.000",
             // A number is not an amount.
             "gid://shopify/Order/5 sale #1005 | no amount @ 12-05 11:01:00.000"});
        row("shopify partners", P::ShopifyPartner, partner,
            {{"/1234567/api/2026-10/graphql.json", fixture("shopify/partner-transactions.json")}},
            {// Gross, not net.
             "gid://partners/ThemeSale/1 sale Dawnlight | 35000 USD @ 12-05 08:00:00.500",
             // Sign as given.
             "gid://partners/AppSaleAdjustment/2 refund Upsell Pro | -499 USD @ 12-05 08:01:00.000",
             "gid://partners/AppSubscriptionSale/3 renewal Upsell Pro | 1520 USD @ 12-05 08:02:00.000",
             "gid://partners/ThemeSaleAdjustment/4 refund Fallback App | -35000 USD @ 12-05 08:03:00.000",
             // No type.
             "gid://partners/AppUsageSale/5 sale Shopify sale | 42 EUR @ 12-05 08:04:00.000"});
    }

    void mapping()
    {
        QFETCH(Platform, platform);
        QFETCH(Extra, extra);
        QFETCH(Bodies, recorded);
        QFETCH(QStringList, lines);
        TestHttp t;
        serve(t, recorded);
        QCOMPARE(eventLines(
                     runTask(source(platform).fetch(t.context(), "k_1", extra, account, since, {})),
                     platform, account),
                 lines);
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
