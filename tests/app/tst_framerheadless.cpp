#include "KorvantaProcess.h"
#include "support/FakePlatformServer.h"
#include "support/TestCertificate.h"

#include <QDir>
#include <QSettings>
#include <QTest>

// The real korvanta binary against a fake Framer on loopback over HTTPS:
// `--connect framer` signs in through the window, and later `--check` runs
// read Framer off-screen with the session the sign-in left on disk. The
// running app shows the window from a process of its own.
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

    std::unique_ptr<KorvantaProcess> korvantaAtFramer()
    {
        const QString origin = m_server.origin();
        auto korvanta =
            std::make_unique<KorvantaProcess>("www.framer.com=" + origin + ",framer.com=" + origin);
        korvanta->environment().insert("QTWEBENGINE_DISABLE_SANDBOX", "1");
        korvanta->environment().insert("QT_QPA_PLATFORM", "offscreen");
        return korvanta;
    }

    // The pid of a running `korvanta --framer-sign-in` started by this parent.
    static qint64 signInChild(qint64 parent)
    {
        for (const QString &pid : QDir("/proc").entryList({"[0-9]*"}, QDir::Dirs)) {
            QFile stat("/proc/" + pid + "/stat"), cmdline("/proc/" + pid + "/cmdline");
            if (!stat.open(QIODevice::ReadOnly) || !cmdline.open(QIODevice::ReadOnly))
                continue;
            const QList<QByteArray> fields = stat.readAll().split(')').value(1).split(' ');
            if (fields.value(2).toLongLong() == parent
                && cmdline.readAll().contains("--framer-sign-in"))
                return pid.toLongLong();
        }
        return 0;
    }

    // Whether the web engine ever started in the process: its threads stay.
    static bool hasWebEngineThreads(qint64 pid)
    {
        const QString tasks = "/proc/" + QString::number(pid) + "/task";
        for (const QString &task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            QFile comm(tasks + '/' + task + "/comm");
            if (comm.open(QIODevice::ReadOnly) && comm.readAll().startsWith("Chrome_"))
                return true;
        }
        return false;
    }

private Q_SLOTS:
    void initTestCase()
    {
        const auto tls = selfSignedServer({"www.framer.com", "framer.com"});
        if (!tls)
            QSKIP("openssl is needed to make the fake Framer's certificate");
        m_server.useTls(*tls);
        serve();
    }

    void signsInThenChecks()
    {
        m_remixes = 5;
        const auto owned = korvantaAtFramer();
        KorvantaProcess &korvanta = *owned;

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

    // Past the walkthrough and never signed in, the app's first check opens
    // the window in its own process; the app remembers the sign-in when that
    // process ends, and reads Framer with the session it left on disk.
    void runningAppSignsInFromAProcessOfItsOwn()
    {
        if (qEnvironmentVariableIsEmpty("KORVANTA_TEST_SESSION"))
            QSKIP("Needs the private session of scripts/with-test-session.sh");
        const auto korvanta = korvantaAtFramer();
        const QString config = korvanta->environment().value("XDG_CONFIG_HOME");
        QSettings settings(config + "/Korvanta/Korvanta.conf", QSettings::IniFormat);
        settings.setValue("onboarded", true);
        settings.sync();
        const QString stats = "/creators/api/unified/creator/u1/resource-stats/";
        const qsizetype readsBefore = m_server.requestsTo(stats).size();
        const std::unique_ptr<QProcess> app(korvanta->start({}));
        qint64 child = 0;
        QTRY_VERIFY_WITH_TIMEOUT((child = signInChild(app->processId())) != 0, 20000);
        QVERIFY(!hasWebEngineThreads(app->processId()));

        QTRY_VERIFY_WITH_TIMEOUT(m_server.requestsTo(stats).size() > readsBefore, 60000);
        QCOMPARE(signInChild(app->processId()), 0);
        settings.sync();
        QCOMPARE(settings.value("framerSignedIn").toBool(), true);
        app->terminate();
        QVERIFY(app->waitForFinished(10000));
    }
};

QTEST_GUILESS_MAIN(TestFramerHeadless)
#include "tst_framerheadless.moc"
