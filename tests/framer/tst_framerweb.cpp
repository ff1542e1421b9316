#include "core/Http.h"
#include "framer/FramerCheck.h"
#include "framer/FramerLogin.h"
#include "framer/FramerPage.h"
#include "framer/FramerProfile.h"
#include "framer/FramerSource.h"
#include "framer/PageScript.h"
#include "framer/SignInPage.h"
#include "framer/SignInWindow.h"
#include "framer/Watcher.h"
#include "support/FakePlatformServer.h"
#include "support/ManualClock.h"
#include "support/RunTask.h"
#include "support/TestCertificate.h"
#include "support/WebTestMain.h"

#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

using namespace std::chrono_literals;

namespace {

const QString accountPath = QStringLiteral("/creators/api/account/");
const QString statsPath = QStringLiteral("/creators/api/unified/creator/u1/resource-stats/");
const QString emailHint = QStringLiteral(
    "Framer's email link opens your browser, not Korvanta. In the email, right-click the sign-in "
    "button and choose Copy Link. Korvanta picks it up and finishes here.");

// A check run from a test that keeps serving the event loop meanwhile.
QCoro::Task<> runInto(FramerCheck &check, std::optional<Moment> &moment, bool &done)
{
    moment = co_await check.run();
    done = true;
}

ScriptedResponse html(const QByteArray &body)
{
    return {200,
            "<!doctype html><html><body>" + body + "</body></html>",
            {{"Content-Type", "text/html; charset=utf-8"}}};
}

// A fake Framer on loopback over HTTPS: a login page, a magic link that sets
// the session cookie and sends the browser on to the site, the account
// endpoint that answers only with that cookie, and the template statistics.
struct FakeFramer {
    FakePlatformServer server;
    qint64 remixes = 3;
    bool hangStats = false;
    bool brokenAccount = false; // answers that no browser can decode

    void serve()
    {
        server.handle([this](const RecordedRequest &r) -> std::optional<ScriptedResponse> {
            const bool session = r.header("Cookie").contains("session=s3cret");
            if (r.path == u"/login/")
                return html("<p>A verification LINK SENT to your inbox.</p>");
            if (r.path == u"/auth/magic")
                return ScriptedResponse{302,
                                        {},
                                        {{"Set-Cookie", "session=s3cret; Path=/; Secure; HttpOnly"},
                                         {"Location", "/projects/"}}};
            if (r.path == accountPath && brokenAccount)
                return ScriptedResponse{200, "{}", {{"Content-Encoding", "gzip"}}};
            if (r.path == accountPath)
                return session ? ScriptedResponse::json(R"({"user":{"framerUserId":"u1"}})")
                               : ScriptedResponse::json("{}", 401);
            if (r.path == statsPath && session)
                return hangStats ? ScriptedResponse::hang() : ScriptedResponse::json(stats());
            return std::nullopt;
        });
    }

    QByteArray stats() const
    {
        return R"({"resources":[
            {"resource":{"id":101,"title":"Quill","slug":"quill"},"stats":{"series":[
                {"period":"2026-12-04","remixes":2,"views":10},
                {"period":"2026-12-05","remixes":)"
            + QByteArray::number(remixes) + R"(,"views":40,"conversions":1}]}},
            {"resource":{"id":"b2","title":"","slug":"larch-folio"},"stats":{"series":[
                {"period":"2026-12-05","views":7}]}}]})";
    }

    // Requests the pages made, without the favicon the engine asks for.
    QList<RecordedRequest> pageRequests() const
    {
        QList<RecordedRequest> list;
        for (const RecordedRequest &r : server.requests())
            if (r.path != u"/favicon.ico")
                list.append(r);
        return list;
    }
};

}

class TestFramerWeb : public QObject {
    Q_OBJECT

    FakeFramer m_framer;
    QTemporaryDir m_dir;
    ManualClock m_clock{QDateTime(QDate(2026, 12, 5), QTime(12, 0), Qt::UTC)};
    std::unique_ptr<Http> m_http;
    std::unique_ptr<QSettings> m_settings;
    std::unique_ptr<FramerLogin> m_login;
    std::unique_ptr<FramerProfile> m_profile;
    std::unique_ptr<FramerSource> m_source;
    std::unique_ptr<Watcher> m_watcher;
    std::unique_ptr<FramerCheck> m_check;
    std::unique_ptr<SignInWindow> m_window;
    int m_prompts = 0;

    std::optional<Moment> check()
    {
        bool done = false;
        std::optional<Moment> moment;
        auto task = runInto(*m_check, moment, done);
        [&] { QTRY_VERIFY_WITH_TIMEOUT(done, 30000); }();
        return moment;
    }

private Q_SLOTS:
    void initTestCase()
    {
        const auto tls = selfSignedServer({"www.framer.com", "framer.com"});
        if (!tls)
            QSKIP("openssl is needed to make the fake Framer's certificate");
        m_framer.server.useTls(*tls);
        m_framer.serve();
        const QString origin = m_framer.server.origin();
        const Endpoints endpoints = std::get<Endpoints>(
            Endpoints::parse("www.framer.com=" + origin + ",framer.com=" + origin));
        const FramerWebRoutes routes(endpoints);
        // Read by the web engine when it starts, which is on first use.
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", routes.chromiumFlags({}));
        m_http = std::make_unique<Http>(m_clock, endpoints);
        m_settings =
            std::make_unique<QSettings>(m_dir.filePath("settings.ini"), QSettings::IniFormat);
        m_login = std::make_unique<FramerLogin>(*m_settings);
        m_profile = std::make_unique<FramerProfile>(routes, m_dir.filePath("web"));
        m_source = std::make_unique<FramerSource>(*m_profile, m_clock);
        m_watcher = std::make_unique<Watcher>(*m_settings, m_dir.filePath("framer-polls.csv"));
        m_check =
            std::make_unique<FramerCheck>(*m_profile, *m_source, *m_watcher, *m_login, m_clock);
        m_check->openSignIn = [this] { ++m_prompts; };
        m_window = std::make_unique<SignInWindow>(*m_profile, *m_http, m_clock);
    }

    void cleanupTestCase()
    {
        // Pages before the profile, as at the end of the program.
        m_window.reset();
        m_check.reset();
        m_source.reset();
        m_profile.reset();
    }

    // Until a sign-in was completed, a check makes no web page at all, and
    // opens the sign-in window only once per run.
    void notSignedInWithoutWebEngine()
    {
        QCOMPARE(check(), std::nullopt);
        QCOMPARE(check(), std::nullopt);
        QCOMPARE(m_check->status(), QStringLiteral("Not signed in to Framer"));
        QCOMPARE(m_check->signedIn(), false);
        QCOMPARE(m_prompts, 1);
        QVERIFY(!m_profile->exists());
        QVERIFY(m_framer.server.requests().isEmpty());
    }

    void signsInThroughTheWindow()
    {
        int closes = 0;
        m_window->onClose = [&] { ++closes; };
        QSignalSpy finished(m_window.get(), &SignInWindow::finished);
        // Closing by hand before success still reports the close.
        m_window->show();
        QWidget *first = m_window->window();
        m_window->show();
        QCOMPARE(m_window->window(), first);
        QCOMPARE(first->windowTitle(), QStringLiteral("Connect Framer"));
        m_window->close();
        QTRY_COMPARE(closes, 1);
        QVERIFY(!m_window->isOpen());

        // A link on the clipboard before the window opens is not used.
        QGuiApplication::clipboard()->setText("https://www.framer.com/auth/magic?t=early");
        m_window->show();
        QTRY_VERIFY(!m_framer.server.requestsTo("/login/").isEmpty());
        QTRY_VERIFY(m_window->page()->url().path() == u"/login/");
        QCOMPARE(m_window->helperText(), emailHint);
        QVERIFY(!m_window->helperVisible());

        // The probe finds no session, but the page says a link was sent.
        m_clock.advance(1s, 1s);
        QTRY_VERIFY(m_window->helperVisible());
        QVERIFY(m_framer.server.requestsTo("/auth/magic").isEmpty());

        QGuiApplication::clipboard()->setText("https://framer.com.evil.example/auth/magic");
        m_clock.advance(1s, 1s);
        QCOMPARE(m_window->helperText(), emailHint);

        QGuiApplication::clipboard()->setText("  https://www.framer.com/auth/magic?t=1 \n");
        m_clock.advance(1s, 1s);
        QCOMPARE(m_window->helperText(), QStringLiteral("Got the link. Signing you in…"));
        QTRY_VERIFY(m_window->isDone());
        QCOMPARE(m_framer.server.requestsTo("/auth/magic").first().queryValue("t"), "1");
        QCOMPARE(m_window->helperText(),
                 QStringLiteral("Connected. Korvanta is watching your templates."));
        QVERIFY(m_framer.server.requestsTo("/projects/").isEmpty());
        m_login->remember(); // as the window's owner does on finished()

        // Further ticks and the closing delay: one finish, one close.
        m_clock.advance(1200ms, 100ms);
        QTRY_VERIFY(!m_window->isOpen());
        m_clock.advance(2s, 100ms);
        QCOMPARE(finished.size(), 1);
        QCOMPARE(closes, 2);

        // The redirect onto the site was confirmed by a request of our own
        // with the profile's Framer cookies and the browser's user agent.
        const QList<RecordedRequest> asked = m_framer.server.requestsTo(accountPath);
        const auto confirmation = std::find_if(asked.rbegin(), asked.rend(), [](const auto &r) {
            return r.host() == u"www.framer.com";
        });
        QVERIFY(confirmation != asked.rend());
        QVERIFY(confirmation->header("Cookie").contains("session=s3cret"));
        QVERIFY(confirmation->header("User-Agent").startsWith("Mozilla/5.0 (Macintosh;"));
    }

    void readsRowsThenNews()
    {
        m_framer.server.reset();
        m_framer.serve();
        QCOMPARE(check(), std::nullopt);
        QCOMPARE(m_check->status(), QStringLiteral("Watching 2 templates, baseline saved"));
        QCOMPARE(m_check->signedIn(), true);
        QCOMPARE(m_check->today(), (QList<FramerCheck::TemplateToday>{{"Quill", 3}}));
        QVERIFY(m_check->summary().has_value());
        const QList<RecordedRequest> stats = m_framer.server.requestsTo(statsPath);
        QCOMPARE(stats.size(), 1);
        QCOMPARE(stats.first().query,
                 (QList<std::pair<QString, QString>>{{"granularity", "day"},
                                                     {"from", "2026-12-04"},
                                                     {"to", "2026-12-05"},
                                                     {"algorithm", "trending"}}));
        QVERIFY(stats.first().header("User-Agent").startsWith("Mozilla/5.0 (Macintosh;"));

        // On Framer already: two requests, no page load.
        const qsizetype before = m_framer.pageRequests().size();
        m_framer.remixes = 4;
        const auto moment = check();
        QCOMPARE(m_framer.pageRequests().size() - before, 2);
        QVERIFY(moment.has_value());
        QCOMPARE(moment->kicker, QStringLiteral("New remix on Framer"));
        QCOMPARE(moment->title, QStringLiteral("Quill"));
        QCOMPARE(moment->amount, QStringLiteral("+1"));
        QCOMPARE(m_check->status(), QStringLiteral("Watching 2 templates"));
    }

    // A read that fails ends with the reason on the status line, and the next
    // read loads the home page afresh and succeeds. A dying web process ends
    // the read at once, not at the time limit: the clock stands still.
    void failedReadIsRetried_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("status");
        QTest::newRow("no answer") << "hang"
                                   << "Check failed: Framer didn't answer in 45 seconds. Retrying";
        QTest::newRow("web process dies") << "kill"
                                          << "Check failed: The page's web process ended. Retrying";
        QTest::newRow("home load fails") << "broken"
                                         << "Check failed: Framer's page script failed: ";
    }
    void failedReadIsRetried()
    {
        QFETCH(QString, fault);
        QFETCH(QString, status);
        if (fault == u"broken") {
            m_framer.brokenAccount = true;
            m_source->markNotReady();
            check();
        } else {
            m_framer.hangStats = true;
            const qsizetype asked = m_framer.server.requestsTo(statsPath).size();
            bool done = false;
            std::optional<Moment> moment;
            auto task = runInto(*m_check, moment, done);
            QTRY_VERIFY(m_framer.server.requestsTo(statsPath).size() > asked);
            QVERIFY(m_source->hasPage());
            if (fault == u"kill")
                QCOMPARE(::kill(pid_t(m_source->page()->renderProcessPid()), SIGKILL), 0);
            else
                m_clock.advance(45s, 1s);
            QTRY_VERIFY(done);
        }
        QVERIFY2(m_check->status().startsWith(status) && m_check->status().endsWith(". Retrying"),
                 qPrintable(m_check->status()));
        if (fault == u"hang") {
            QCOMPARE(m_check->lastError(), "Framer didn't answer in 45 seconds");
            QVERIFY(!m_source->hasPage());
        }

        m_framer.hangStats = m_framer.brokenAccount = false;
        const qsizetype loads = m_framer.server.requestsTo(accountPath).size();
        check();
        QCOMPARE(m_check->status(), "Watching 2 templates");
        QCOMPARE(m_framer.server.requestsTo(accountPath).size() - loads, 2);
    }

    void accountSwitchSignsOut()
    {
        // Framer's origin also keeps local data in the profile.
        FramerPage page(*m_profile);
        QSignalSpy loaded(&page, &QWebEnginePage::loadFinished);
        page.load(QUrl("https://www.framer.com/creators/api/account/"));
        QTRY_COMPARE(loaded.size(), 1);
        runTask(page.script().run("localStorage.setItem('who', 'old'); return 1;"));

        runTask(m_check->switchAccount());
        QCOMPARE(runTask(page.script().run("return localStorage.getItem('who');")), QJsonValue());
        QCOMPARE(m_check->status(), QStringLiteral("Not signed in to Framer"));
        QVERIFY(!m_login->completed());
        QVERIFY(!m_watcher->hasBaseline());
        QVERIFY(m_check->today().isEmpty());
        QVERIFY(!m_source->isReady());
        QCOMPARE(m_prompts, 2);

        // The session cookie is gone for the reader too.
        m_login->remember();
        check();
        QCOMPARE(m_check->signedIn(), false);
        QCOMPARE(m_check->status(), QStringLiteral("Not signed in to Framer"));
    }
};

KORVANTA_WEB_TEST_MAIN(TestFramerWeb, QApplication)

#include "tst_framerweb.moc"
