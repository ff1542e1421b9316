#include "sources/StandardSources.h"
#include "support/Fixture.h"
#include "support/TestHttp.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

// Every connector turns a failure into the sentence its account shows: the
// platform's own error sentence when its answer carries one, and a failure
// of any later request of a fetch fails the whole fetch (so nothing of its
// earlier pages is reported as if the check had been complete). The generic
// status sentences themselves are the HTTP client's and tested there.
namespace {

enum class Stage { Verify, Fetch };
using Answers = QList<ScriptedResponse>;

const QUuid account = QUuid::fromString(QStringLiteral("{2b8e61f0-7c4d-4a59-a1e3-5d90c4f7e812}"));
const QDateTime since(QDate(2026, 12, 5), QTime(0, 0), Qt::UTC);

ScriptedResponse ok(const QByteArray &body)
{
    return ScriptedResponse::json(body);
}
ScriptedResponse status(int code, const QByteArray &body = "{}")
{
    return ScriptedResponse::json(body, code);
}

// A recorded page with one more field changed, e.g. "has more pages".
QByteArray withMore(const char *name, const QByteArray &field, const QJsonValue &value)
{
    QJsonObject page = QJsonDocument::fromJson(fixture(QString::fromLatin1(name))).object();
    if (field == "meta") // Paddle keeps the flag one level down
        page["meta"] = QJsonObject{{"pagination", QJsonObject{{"has_more", value}}}};
    else
        page[QString::fromLatin1(field)] = value;
    return QJsonDocument(page).toJson(QJsonDocument::Compact);
}

QByteArray stripePage()
{
    return R"({"object":"list","has_more":true,"data":[)" + fixture("stripe/charge-event.json")
        + "]}";
}

QByteArray shopifyPage()
{
    return R"({"data":{"orders":{"edges":[)"
        + fixture("shopify/order-edge.json").replace("N", "1001")
        + R"(],"pageInfo":{"hasNextPage":true,"endCursor":"c1"}}}})";
}

QByteArray partnerPage()
{
    return R"({"data":{"transactions":{"edges":[)"
        + fixture("shopify/partner-sale-edge.json").replace("N", "1")
        + R"(],"pageInfo":{"hasNextPage":true}}}})";
}

// One place that calls a connector, so a change of its signature is one change here.
QCoro::Task<QString> run(SourceContext ctx, Platform platform, Stage stage, Extra extra)
{
    const SourceRegistry sources = standardSources();
    const SourceEntry *entry = sources.find(platform);
    const QString key = QStringLiteral("rk_live_1"); // a shape every platform accepts
    if (stage == Stage::Verify)
        co_return co_await entry->verify(ctx, key, extra);
    co_await entry->fetch(ctx, key, extra, account, since, {});
    co_return QString();
}

}

class TestErrorSentences : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void sentences_data()
    {
        QTest::addColumn<Platform>("platform");
        QTest::addColumn<Extra>("extra");
        QTest::addColumn<Stage>("stage");
        QTest::addColumn<Answers>("answers"); // in order, to any path; the last one repeats
        QTest::addColumn<QString>("sentence");
        QTest::addColumn<int>("requests");
        const auto verify = [](const char *name, Platform p, Extra extra, int code,
                               const QByteArray &body, const char *sentence, int requests = 1) {
            QTest::newRow(name) << p << extra << Stage::Verify << Answers{status(code, body)}
                                << QString::fromUtf8(sentence) << requests;
        };
        const auto fetch = [](const char *name, Platform p, Extra extra, Answers answers,
                              const char *sentence) {
            QTest::newRow(name) << p << extra << Stage::Fetch << answers
                                << QString::fromUtf8(sentence) << int(answers.size());
        };
        const Extra none;
        const Extra shop{{"shop", "acme"}};
        const Extra partner{{"partnerId", "1234567"}};
        const Extra site{{"site", "https://shop.example.com"}, {"consumerKey", "ck_1234"}};

        verify("stripe: own sentence", Platform::Stripe, none, 401,
               R"({"error":{"message":"Invalid API Key provided: rk_live_*****1"}})",
               "Stripe: Invalid API Key provided: rk_live_*****1");
        fetch("stripe: later page", Platform::Stripe, none, {ok(stripePage()), status(500)},
              "Stripe answered 500");
        verify("gumroad: own sentence", Platform::Gumroad, none, 401,
               R"({"error":"invalid_token","error_description":"The access token is invalid"})",
               "Gumroad: The access token is invalid");
        fetch("gumroad: later page", Platform::Gumroad, none,
              {ok(fixture("gumroad/sales-page.json")), status(502)}, "Gumroad answered 502");
        verify("lemonsqueezy: own sentence", Platform::LemonSqueezy, none, 401,
               R"({"errors":[{"detail":"Unauthenticated.","status":"401"}]})",
               "Lemon Squeezy: Unauthenticated.");
        // A refused key is not followed by the look-up of the store's name.
        verify("lemonsqueezy: refused", Platform::LemonSqueezy, none, 401, "",
               "Lemon Squeezy rejected the key. It may have been revoked");
        fetch("lemonsqueezy: invoices after orders", Platform::LemonSqueezy, none,
              {ok(fixture("lemonsqueezy/orders-page.json")), status(500)},
              "Lemon Squeezy answered 500");
        verify("shopify: own sentence", Platform::Shopify, shop, 200,
               R"({"errors":[{"message":"Access denied for shop field."}]})",
               "Shopify: Access denied for shop field.");
        fetch("shopify: later page", Platform::Shopify, shop, {ok(shopifyPage()), status(503)},
              "Shopify answered 503");
        verify(
            "shopifypartner: own sentence", Platform::ShopifyPartner, partner, 200,
            R"({"errors":[{"message":"Access denied: missing View financials permission."}],"data":null})",
            "Shopify Partners: Access denied: missing View financials permission.");
        fetch("shopifypartner: later page", Platform::ShopifyPartner, partner,
              {ok(partnerPage()), status(500)}, "Shopify Partners answered 500");
        verify(
            "paddle: own sentence", Platform::Paddle, none, 403,
            "{\"error\":{\"code\":\"forbidden\",\"detail\":\"You aren't permitted to perform this request.\"}}",
            "Paddle: You aren't permitted to perform this request.");
        fetch("paddle: later page", Platform::Paddle, none,
              {ok(withMore("paddlepolar/paddle-transactions.json", "meta", true)), status(500)},
              "Paddle answered 500");
        // Polar, Square and Whop ask the sandbox when production refuses: its sentence is shown.
        verify("polar: own sentence", Platform::Polar, none, 401,
               R"({"error":"invalid_token","error_description":"The access token is invalid."})",
               "Polar: The access token is invalid.", 2);
        fetch("polar: orders", Platform::Polar, none, {status(500), status(500)},
              "Polar answered 500");
        verify(
            "square: own sentence", Platform::Square, none, 401,
            R"({"errors":[{"code":"UNAUTHORIZED","detail":"This request could not be authorized."}]})",
            "Square: This request could not be authorized.", 2);
        // Locations first (their failure only costs the other locations), then payments.
        fetch("square: payments", Platform::Square, none, {status(503), status(503)},
              "Square answered 503");
        verify("whop: own sentence", Platform::Whop, none, 401,
               R"({"error":{"type":"unauthorized","message":"The API key is invalid."}})",
               "Whop: The API key is invalid.", 2);
        fetch("whop: payments", Platform::Whop, none, {status(500)}, "Whop answered 500");
        verify(
            "woocommerce: own sentence", Platform::WooCommerce, site, 401,
            R"({"code":"woocommerce_rest_cannot_view","message":"Sorry, you cannot list resources.","data":{"status":401}})",
            "WooCommerce: Sorry, you cannot list resources.");
        fetch("woocommerce: orders", Platform::WooCommerce, site, {status(500)},
              "WooCommerce answered 500");
        verify("dodo: own sentence", Platform::Dodo, none, 401,
               R"({"code":"UNAUTHORIZED","message":"Invalid API key"})",
               "Dodo Payments: Invalid API key");
        fetch("dodo: payments", Platform::Dodo, none, {status(502)}, "Dodo Payments answered 502");
    }

    void sentences()
    {
        QFETCH(Platform, platform);
        QFETCH(Extra, extra);
        QFETCH(Stage, stage);
        QFETCH(Answers, answers);
        QFETCH(QString, sentence);
        QFETCH(int, requests);
        TestHttp t;
        t.server.answerInTurn(answers);
        QCOMPARE(failureOf(run(t.context(), platform, stage, extra)), sentence);
        QCOMPARE(t.server.requests().size(), requests);
    }
};

QTEST_GUILESS_MAIN(TestErrorSentences)
#include "tst_errorsentences.moc"
