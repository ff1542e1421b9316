#include "KorvantaProcess.h"
#include "support/FakePlatformServer.h"
#include "support/TestCertificate.h"

#include <QTest>

// The real korvanta binary against a fake Framer on loopback over HTTPS:
// `--connect framer` signs in through the window, and later `--check` runs
// read Framer off-screen with the session the sign-in left on disk.
class TestFramerHeadless : public QObject {
    Q_OBJECT

    FakePlatformServer m_server;
    qint64 m_remixes = 5;

    void serve()
    {
        m_server.handle([this](const RecordedRequest &r) -> std::optional<ScriptedResponse> {
            const bool session = r.header("Cookie").contains("session=s3cret");
            if (r.path == u"/login/")
                return ScriptedResponse{200,
                                        "<html><body><script>location.href = '/auth/magic';"
                                        "</script></body></html>",
                                        {{"Content-Type", "text/html"}}};
            if (r.path == u"/auth/magic")
                return ScriptedResponse{302,
                                        {},
                                        {{"Set-Cookie", "session=s3cret; Path=/; Secure; HttpOnly"},
                                         {"Location", "/projects/"}}};
            if (r.path == u"/creators/api/account/")
                return session ? ScriptedResponse::json(R"({"user":{"framerUserId":"u1"}})")
                               : ScriptedResponse::json("{}", 401);
            if (r.path == u"/creators/api/unified/creator/u1/resource-stats/" && session)
                return ScriptedResponse::json(
                    R"({"resources":[{"resource":{"id":1,"title":"Quill"},"stats":{"series":[)"
                    R"({"period":"2099-01-01","remixes":)"
                    + QByteArray::number(m_remixes) + "}]}}]}");
            return std::nullopt;
        });
    }

private Q_SLOTS:
    void signsInThenChecks()
    {
        const auto tls = selfSignedServer({"www.framer.com", "framer.com"});
        if (!tls)
            QSKIP("openssl is needed to make the fake Framer's certificate");
        m_server.useTls(*tls);
        serve();
        const QString origin = m_server.origin();
        KorvantaProcess korvanta("www.framer.com=" + origin + ",framer.com=" + origin);
        korvanta.environment().insert("QTWEBENGINE_DISABLE_SANDBOX", "1");
        korvanta.environment().insert("QT_QPA_PLATFORM", "offscreen");

        // Before any sign-in a check starts no web engine at all.
        KorvantaRun check = korvanta.run({"--check", "--moments"});
        QCOMPARE(check.exitCode, 0);
        QVERIFY(m_server.requests().isEmpty());

        const KorvantaRun connect = korvanta.run({"--connect", "framer"});
        QVERIFY2(connect.exitCode == 0, qPrintable(connect.err));
        QCOMPARE(connect.out, "Framer\n");

        check = korvanta.run({"--check", "--moments"});
        QCOMPARE(check.exitCode, 0);
        QCOMPARE(check.out, ""); // the baseline
        m_remixes = 7;
        check = korvanta.run({"--check", "--moments"});
        QCOMPARE(check.exitCode, 0);
        QCOMPARE(check.out,
                 "{\"platform\":\"framer\",\"kicker\":\"2 new remixes on Framer\","
                 "\"title\":\"Quill\",\"amount\":\"+2\"}\n");
        QVERIFY(QFile::exists(korvanta.dataFolder() + "/framer-polls.csv"));
    }
};

QTEST_GUILESS_MAIN(TestFramerHeadless)
#include "tst_framerheadless.moc"
