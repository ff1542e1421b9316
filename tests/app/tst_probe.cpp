#include "sources/StandardSources.h"
#include "support/FakePlatformServer.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// Runs the real binary with --probe against the fake server: one line per
// connector, in ascending order of the platform's raw value.
class TestProbe : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void probePrintsOneLinePerConnector();
};

void TestProbe::probePrintsOneLinePerConnector()
{
    FakePlatformServer server;
    server.on("GET", "/v1/events", ScriptedResponse::json(R"({"object":"list","data":[],"has_more":false})"),
              "api.stripe.com");
    server.on("GET", "/v1/account",
              ScriptedResponse::json(R"({"id":"acct_1","settings":{"dashboard":{"display_name":"Probe Shop"}}})"),
              "api.stripe.com");
    server.on("GET", "/v2/user",
              ScriptedResponse::json(R"({"error":"invalid_token","error_description":"The access token is invalid"})", 401),
              "api.gumroad.com");

    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", home.path());
    env.insert("XDG_CONFIG_HOME", home.filePath(".config"));
    env.insert("XDG_DATA_HOME", home.filePath(".local/share"));
    env.insert("KORVANTA_ENDPOINTS", server.endpointsForAll());
    QProcess korvanta;
    korvanta.setProcessEnvironment(env);
    QSignalSpy finished(&korvanta, &QProcess::finished);
    korvanta.start(qEnvironmentVariable("KORVANTA_BINARY"), {"--probe"});
    // The spy's wait keeps the event loop, and so the fake server, running.
    QVERIFY2(finished.wait(120000), qPrintable(korvanta.errorString()));
    QCOMPARE(korvanta.exitStatus(), QProcess::NormalExit);
    QCOMPARE(korvanta.exitCode(), 0);

    const QStringList lines = QString::fromUtf8(korvanta.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    QStringList expected;
    for (const Platform p : standardSources().platformsByRawValue())
        expected.append(Platforms::rawValue(p));
    QVERIFY(expected.contains("stripe") && expected.contains("gumroad"));
    QCOMPARE(lines.size(), expected.size());
    static const QRegularExpression shape("^([a-z]+): (OK\\?\\? .*|.+)$");
    for (int i = 0; i < lines.size(); ++i) {
        const auto m = shape.match(lines[i]);
        QVERIFY2(m.hasMatch(), qPrintable(lines[i]));
        QCOMPARE(m.captured(1), expected[i]);
        if (i > 0)
            QVERIFY(expected[i - 1] < expected[i]);
    }
    QVERIFY(lines.contains("stripe: OK?? Probe Shop (test mode)"));
    QVERIFY(lines.contains("gumroad: Gumroad: The access token is invalid"));

    const QList<RecordedRequest> stripe = server.requestsTo("/v1/events");
    QCOMPARE(stripe.size(), 1);
    QCOMPARE(stripe.first().host(), "api.stripe.com");
    QVERIFY(stripe.first().header("Authorization").startsWith("Bearer rk_test_"));
}

QTEST_GUILESS_MAIN(TestProbe)
#include "tst_probe.moc"
