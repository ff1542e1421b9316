#include "core/Http.h"
#include "core/Iso.h"
#include "support/TestHttp.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QTest>

class TestHttpClient : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void errorMessageShapes_data();
    void errorMessageShapes();
    void answers_data();
    void answers();
    void refusedConnection();
    void headersAndRedirects();
    void timeLimits();
    void endpointsRefuseNonLoopback();
    void isoDates();
};

void TestHttpClient::errorMessageShapes_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("message"); // "<none>" for no message
    // The shapes platforms answer with are in each connector's error sentences;
    // these are the orders and odd cases between them.
    const auto row = [](const char *name, const char *body, const char *message) {
        QTest::newRow(name) << QByteArray(body) << QString(message);
    };
    row("error object without text stops", R"({"error":{"code":1},"message":"later"})", "<none>");
    row("error string alone", R"({"error":"invalid_client"})", "invalid_client");
    row("errors first title", R"({"errors":[{"title":"Unauthenticated"}]})", "Unauthenticated");
    row("errors detail before message", R"({"errors":[{"message":"m","detail":"d"}]})", "d");
    row("errors element without text", R"({"errors":[{"code":3}],"message":"top"})", "<none>");
    row("empty errors falls through", R"({"errors":[],"message":"top"})", "top");
    row("top detail before message", R"({"detail":"d","message":"m"})", "d");
    row("array body", R"([{"message":"x"}])", "<none>");
    row("wrong types", R"({"error":5,"errors":"x","detail":1,"message":null})", "<none>");
}

void TestHttpClient::errorMessageShapes()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, message);
    QCOMPARE(Http::errorMessage(body).value_or(QStringLiteral("<none>")), message);
}

// What a JSON request gives for each kind of answer: a 4xx's own message
// wins over the status sentence, except for 429, and a 5xx's never does.
void TestHttpClient::answers_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("failure"); // its start; empty for success
    const auto row = [](const char *name, int status, const char *body, const char *failure) {
        QTest::newRow(name) << status << QByteArray(body) << QString(failure);
    };
    row("own message", 401, R"({"error":{"message":"Invalid API Key provided"}})",
        "Stripe: Invalid API Key provided");
    row("401 without one", 401, "", "Stripe rejected the key. It may have been revoked");
    row("403 without one", 403, "<html>", "Stripe rejected the key. It may have been revoked");
    row("404", 404, "{}", "Stripe couldn't find that address. Check the store or shop address");
    row("429 over its message", 429, R"({"message":"slow"})", "Stripe asked us to slow down");
    row("500 over its message", 500, R"({"message":"boom"})", "Stripe answered 500");
    row("cut short", 200, "{\"data\": [1,", "Stripe sent an answer that isn't valid JSON");
    row("a scalar", 200, "42", "Stripe sent an answer that isn't valid JSON");
    row("an array", 200, "[1,2]", "");
}

void TestHttpClient::answers()
{
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(QString, failure);
    TestHttp t;
    t.server.on("GET", "/x", ScriptedResponse::json(body, status));
    const QString got =
        failureOf(t.http.json(Http::request(QUrl("https://api.stripe.com/x")), Platform::Stripe));
    QVERIFY2(failure.isEmpty() ? got.isEmpty() : got.startsWith(failure), qPrintable(got));
}

// Nobody listening: the transport's own description, not an HTTP sentence.
void TestHttpClient::refusedConnection()
{
    ManualClock clock;
    Http offline(clock,
                 std::get<Endpoints>(Endpoints::parse(QStringLiteral("*=http://127.0.0.1:1"))));
    const QString refused =
        failureOf(offline.json(Http::request(QUrl("https://api.stripe.com/x")), Platform::Stripe));
    QVERIFY2(refused.contains("refused", Qt::CaseInsensitive), qPrintable(refused));
}

// Every request names the app and extra headers replace the defaults; keys
// follow redirects only on their own host.
void TestHttpClient::headersAndRedirects()
{
    TestHttp t;
    t.server.on("GET", "/start", {302, {}, {{"Location", "/same"}}});
    t.server.on("GET", "/same", {302, {}, {{"Location", "https://elsewhere.example/away"}}});
    t.server.on("GET", "/away", ScriptedResponse::json(R"({"ok":true})"));
    auto request = Http::request(QUrl("https://shop.myshopify.com/start"), QStringLiteral("secret"),
                                 {{"X-Shopify-Access-Token", "shpat_x"}, {"Accept", "text/json"}});
    const QJsonValue value = runTask(t.http.json(request, Platform::Shopify));
    QCOMPARE(value.toObject().value("ok").toBool(), true);
    const auto &rs = t.server.requests();
    QCOMPARE(rs.size(), 3);
    QCOMPARE(rs[0].header("User-Agent"), "Korvanta/0.1 (Linux; +https://korvanta.app)");
    QCOMPARE(rs[0].header("Accept"), "text/json");
    QCOMPARE(rs[1].host(), "shop.myshopify.com");
    QCOMPARE(rs[1].header("Authorization"), "Bearer secret");
    QCOMPARE(rs[2].host(), "elsewhere.example");
    QVERIFY(!rs[2].hasHeader("Authorization"));
    QVERIFY(!rs[2].hasHeader("X-Shopify-Access-Token"));

    // A form post holding a client secret is not re-sent to another origin.
    t.server.reset();
    t.server.on("POST", "/admin/oauth/access_token",
                {307, {}, {{"Location", "https://elsewhere.example/steal"}}});
    HttpRequest post = Http::request(QUrl("https://shop.myshopify.com/admin/oauth/access_token"));
    post.method = "POST";
    post.body = "client_id=a&client_secret=b";
    QCOMPARE(failureOf(t.http.json(post, Platform::Shopify)), "Shopify answered 307");
    QCOMPARE(t.server.requests().size(), 1);
}

// A transfer ends at the shorter of the client's whole limit (40 s) and the
// request's own; time moves on the test's clock.
void TestHttpClient::timeLimits()
{
    using namespace std::chrono_literals;
    for (const auto own : {60000ms, 2000ms}) {
        TestHttp t;
        t.server.on("GET", "/hang", ScriptedResponse::hang());
        HttpRequest request = Http::request(QUrl("https://api.stripe.com/hang"));
        request.timeout = own;
        auto answer = t.http.json(request, Platform::Stripe);
        QTRY_COMPARE(t.server.requests().size(), 1);
        t.clock.advance(std::min(own, 40000ms) - 10ms, 1s);
        QVERIFY(!answer.isReady());
        t.clock.advance(10ms);
        QCOMPARE(failureOf(std::move(answer)), "The request timed out.");
    }
}

void TestHttpClient::endpointsRefuseNonLoopback()
{
    for (const char *bad :
         {"*=http://10.0.0.1", "api.stripe.com=https://example.com", "*=ftp://127.0.0.1", "nohost",
          "*=http://127.0.0.1/path", "*=http://user@127.0.0.1"})
        QVERIFY2(std::holds_alternative<QString>(Endpoints::parse(QString::fromLatin1(bad))), bad);
    const auto ok = Endpoints::parse(QStringLiteral(
        "api.stripe.com=http://127.0.0.2:8080, *=http://[::1]:9,x=https://localhost"));
    QVERIFY(std::holds_alternative<Endpoints>(ok));
    const Endpoints e = std::get<Endpoints>(ok);
    const auto route = e.route(QUrl("https://API.stripe.com/v1/events?a=1&b=2"));
    QCOMPARE(route.url.toString(), "http://127.0.0.2:8080/v1/events?a=1&b=2");
    QCOMPARE(route.forwardedHost, "api.stripe.com");
    QCOMPARE(e.route(QUrl("https://api.gumroad.com/v2/sales")).url.host(), "::1");
}

void TestHttpClient::isoDates()
{
    const QDateTime half = *Iso::date(QJsonValue("2026-12-05T06:56:57.5Z"));
    QCOMPARE(half, QDateTime(QDate(2026, 12, 5), QTime(6, 56, 57, 500), Qt::UTC));
    QCOMPARE(*Iso::date(QJsonValue("2026-12-05T08:56:57+02:00")),
             QDateTime(QDate(2026, 12, 5), QTime(6, 56, 57), Qt::UTC));
    QCOMPARE(*Iso::date(QJsonValue("2026-12-05T06:56:57.123456-0130")),
             QDateTime(QDate(2026, 12, 5), QTime(8, 26, 57, 123), Qt::UTC));
    for (const QJsonValue &bad :
         {QJsonValue(1764917817), QJsonValue("2026-12-05"), QJsonValue("2026-12-05T06:56Z"),
          QJsonValue("2026-13-05T06:56:57Z"), QJsonValue("2026-12-05 06:56:57Z"), QJsonValue(),
          QJsonValue("2026-12-05T06:56:57"), QJsonValue("2026-12-05T06:56:57.Z"),
          QJsonValue("2026-12-05T06:56:57+2:00"), QJsonValue("2026-12-05T06:56:57Zx"),
          QJsonValue("2026-12-05T06:56:57.1234567890Z"), QJsonValue("2026-02-30T06:56:57Z"),
          QJsonValue(QString::fromUtf8("２０２６-12-05T06:56:57Z"))})
        QVERIFY(!Iso::date(bad));
    QCOMPARE(Iso::plain(half), "2026-12-05T06:56:57Z");
    QCOMPARE(Iso::frac(half), "2026-12-05T06:56:57.500Z");
}

QTEST_GUILESS_MAIN(TestHttpClient)
#include "tst_http.moc"
