#include "ShellFixture.h"
#include "core/Money.h"
#include "framer/FramerCheck.h"
#include "framer/FramerLogin.h"
#include "framer/FramerProfile.h"
#include "framer/FramerSource.h"
#include "shell/CheckCycle.h"
#include "shell/CheckInterval.h"
#include "shell/Shell.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

using namespace std::chrono_literals;

class TestCheckCycle : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("KORVANTA_TEST_SESSION"))
            QSKIP("Needs the private keyring of scripts/with-test-session.sh");
    }

    // Two accounts report a sale, a refund and a failed payment in one check.
    void oneCheckEndToEnd()
    {
        ShellFixture f;
        CheckCycle cycle({f.poller, f.accounts, f.notch, f.settingsModel, f.clock});
        const Account shop = f.add("shop");
        const Account studio = f.add("studio");
        f.serve("shop", "[]");
        f.serve("studio", "[]");
        runTask(cycle.check()); // first poll: nothing is new
        QCOMPARE(f.notch.queue().size() + (f.notch.moment() ? 1 : 0), 0);

        f.server.reset();
        f.serve("shop",
                R"([{"id":"s1","kind":"sale","title":"Zine","amount":2000},)"
                R"({"id":"f1","kind":"failed","title":"Zine","amount":5000}])");
        f.serve("studio", R"([{"id":"r1","kind":"refund","title":"Kit","amount":-500}])");
        QSignalSpy moments(&f.notch, &NotchModel::momentChanged);
        const int refreshBefore = f.settingsModel.refresh();
        runTask(cycle.check());

        QCOMPARE(moments.size(), 1);
        QVERIFY(f.notch.queue().isEmpty());
        QCOMPARE(f.notch.moment()->kicker, "New sale on Gumroad");
        QCOMPARE(f.notch.moment()->title, "Zine");
        QVERIFY(f.notch.revenue() == (Money{1500, "USD"}));   // the failed payment left out
        QVERIFY(f.notch.shownRevenue() == f.notch.revenue()); // nothing was playing yet
        QCOMPARE(f.notch.sales().size(), 3);
        QVERIFY(f.notch.hasAccounts());
        QCOMPARE(f.notch.accounts().size(), 2);
        QCOMPARE(*f.notch.lastCheck(), f.clock.now());
        QCOMPARE(f.settingsModel.refresh(), refreshBefore + 1);
        QVERIFY(f.settingsModel.health(shop).text.startsWith("Working · checked "));
        // Without a Framer reader the Framer step is skipped, not faked.
        QCOMPARE(cycle.framer().status, "Not checked yet");

        f.server.reset();
        f.serve("shop", "[]");
        f.serve("studio", R"({"message":"The access token is invalid"})", 401);
        runTask(cycle.check());
        QCOMPARE(f.settingsModel.health(studio).ok, false);
        QCOMPARE(f.settingsModel.health(studio).text, f.poller.error(studio.id));
        QVERIFY(f.settingsModel.health(studio).text.startsWith("Gumroad"));
        QVERIFY(f.settingsModel.health(shop).ok);
    }

    void checkDuringCheckIsDropped()
    {
        ShellFixture f;
        CheckCycle cycle({f.poller, f.accounts, f.notch, f.settingsModel, f.clock});
        f.add("shop");
        f.serve("shop", "[]");
        QSignalSpy checked(&cycle, &CheckCycle::checked);
        auto first = cycle.check(); // waits for its answer until the loop runs
        QVERIFY(cycle.checking());
        runTask(cycle.check()); // returns at once, without running the loop
        QCOMPARE(checked.size(), 0);
        runTask(std::move(first));
        QCOMPARE(checked.size(), 1);
        QCOMPARE(f.server.requests().size(), 1);
        QVERIFY(!cycle.checking());
    }

    // Without a completed sign-in the Framer step makes no web page: it says
    // so, asks for the sign-in window once per run, and the notch and the
    // menu agree. A walkthrough that opened the window keeps it from asking.
    void framerWithoutSignIn()
    {
        ShellFixture f;
        FramerLogin login(f.settings);
        FramerProfile profile{FramerWebRoutes()};
        FramerSource source(profile, f.clock);
        FramerCheck framer(profile, source, f.watcher, login, f.clock);
        CheckCycle cycle({f.poller, f.accounts, f.notch, f.settingsModel, f.clock});
        cycle.setFramer(&framer);
        QSignalSpy prompts(&cycle, &CheckCycle::signInWanted);
        runTask(cycle.check());
        runTask(cycle.check());
        QCOMPARE(prompts.size(), 1);
        QCOMPARE(cycle.framer().status, "Not signed in to Framer");
        QCOMPARE(cycle.framer().signedIn, false);
        QCOMPARE(*cycle.framer().lastChecked, f.clock.now());
        QVERIFY(!f.notch.signedIn());
        QVERIFY(!profile.exists());

        CheckCycle walked({f.poller, f.accounts, f.notch, f.settingsModel, f.clock});
        FramerCheck fresh(profile, source, f.watcher, login, f.clock);
        walked.setFramer(&fresh);
        walked.markSignInPrompted();
        QSignalSpy none(&walked, &CheckCycle::signInWanted);
        runTask(walked.check());
        QCOMPARE(none.size(), 0);
    }

    void intervalRules()
    {
        ShellFixture f;
        f.settings.setValue("interval", 0);
        f.settings.setValue("onboarded", true);
        Shell shell({f.settings, f.clock, f.poller, f.accounts, f.notch, f.settingsModel, f.watcher,
                     f.updates});
        QSignalSpy checks(&shell.cycle(), &CheckCycle::checked);
        shell.schedule();
        QCOMPARE(shell.timer().interval(), 120s);
        QCOMPARE(f.settingsModel.interval(), 120);

        f.clock.advance(100s, 1s);
        f.settingsModel.setInterval(120); // the same value: the timer runs on
        f.clock.advance(21s, 1s);
        QCOMPARE(checks.size(), 1);

        f.settingsModel.setInterval(300); // stored, and the next check is 300 s later
        QCOMPARE(f.settings.value("interval").toDouble(), 300);
        f.clock.advance(299s, 1s);
        QCOMPARE(checks.size(), 1);
        f.clock.advance(2s, 1s);
        QCOMPARE(checks.size(), 2);
    }
};

QTEST_MAIN(TestCheckCycle)
#include "tst_checkcycle.moc"
