#include "KorvantaProcess.h"
#include "support/FakePlatformServer.h"

#include <QTest>

// `--probe` against the fake server: one line per connector, in ascending
// order of the platform's raw value.
class TestProbe : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void probePrintsOneLinePerConnector()
    {
        FakePlatformServer server;
        server.on("GET", "/v1/events",
                  ScriptedResponse::json(R"({"object":"list","data":[],"has_more":false})"),
                  "api.stripe.com");
        server.on("GET", "/v1/account",
                  ScriptedResponse::json(
                      R"({"id":"acct_1","settings":{"dashboard":{"display_name":"Probe Shop"}}})"),
                  "api.stripe.com");
        server.on(
            "GET", "/v2/user",
            ScriptedResponse::json(
                R"({"error":"invalid_token","error_description":"The access token is invalid"})",
                401),
            "api.gumroad.com");
        const KorvantaRun probe = KorvantaProcess(server.endpointsForAll()).run({"--probe"});
        QCOMPARE(probe.exitCode, 0);

        const QStringList platforms{"dodo",   "gumroad", "lemonsqueezy",   "paddle",
                                    "polar",  "shopify", "shopifypartner", "square",
                                    "stripe", "whop",    "woocommerce"};
        const QStringList lines = probe.out.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), platforms.size());
        for (int i = 0; i < lines.size(); ++i)
            QVERIFY2(lines[i].startsWith(platforms[i] + ": ")
                         && lines[i].size() > platforms[i].size() + 2,
                     qPrintable(lines[i]));
        QVERIFY(lines.contains("stripe: OK?? Probe Shop (test mode)"));
        QVERIFY(lines.contains("gumroad: Gumroad: The access token is invalid"));

        const QList<RecordedRequest> stripe = server.requestsTo("/v1/events");
        QCOMPARE(stripe.size(), 1);
        QVERIFY(stripe.first().header("Authorization").startsWith("Bearer rk_test_"));
    }
};

QTEST_GUILESS_MAIN(TestProbe)
#include "tst_probe.moc"
