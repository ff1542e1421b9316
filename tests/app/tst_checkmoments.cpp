#include "GumroadSales.h"
#include "KorvantaProcess.h"
#include "core/Money.h"
#include "support/FakePlatformServer.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

// `--check --moments` prints the one grouped moment of a check's new sales.
class TestCheckMoments : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("KORVANTA_TEST_SESSION"))
            QSKIP("Needs the private keyring of scripts/with-test-session.sh");
    }

    void printsTheGroupedMoment()
    {
        FakePlatformServer server;
        server.on("GET", "/v2/user",
                  ScriptedResponse::json(R"({"success":true,"user":{"name":"Ana Lindqvist"}})"));
        server.on("GET", "/v2/sales", ScriptedResponse::json(gumroadSales({"s1"})));
        server.on("GET", "/v2/sales", ScriptedResponse::json(gumroadSales({"s1", "s2", "s3"})));
        KorvantaProcess korvanta(server.endpointsForAll());
        QCOMPARE(korvanta.run({"--connect", "gumroad"}, "secret=gum_token_1\n").exitCode, 0);
        const auto check = [&] { return korvanta.run({"--check", "--moments"}); };

        QCOMPARE(check().out, ""); // the first poll only marks sales as seen
        const KorvantaRun second = check();
        QCOMPARE(second.exitCode, 0);
        QCOMPARE(second.out.count('\n'), 1);
        // The binary runs in this test's locale, so it formats as this process does.
        QCOMPARE(QJsonDocument::fromJson(second.out.toUtf8()).object(),
                 (QJsonObject{{"platform", "gumroad"},
                              {"kicker", "2 new sales on Gumroad"},
                              {"title", "Field Notes + 1 more"},
                              {"amount", Money{3998, "USD"}.formatted(true)}}));
        const KorvantaRun third = check();
        QCOMPARE(third.exitCode, 0);
        QCOMPARE(third.out, "");
    }
};

QTEST_GUILESS_MAIN(TestCheckMoments)
#include "tst_checkmoments.moc"
