#include "ItemSearch.h"
#include "SettingsParts.h"
#include "support/WebTestMain.h"
#include "ui/FirstRunModel.h"
#include "ui/FirstRunWindow.h"
#include "ui/SettingsTab.h"

#include <QApplication>
#include <QQmlEngine>
#include <QSignalSpy>
#include <QTest>

namespace {

// The walkthrough over real settings in a temporary folder. Its keyring is
// never reached: no test here connects an account.
struct Walk : SettingsParts {
    int demos = 0;

    Walk()
    {
        model.playDemo = [this] { ++demos; };
    }
    std::unique_ptr<FirstRunModel> start(const QStringList &args = {})
    {
        return std::make_unique<FirstRunModel>(model, sources, settings, chime,
                                               QStringList{"korvanta"} + args);
    }
};

}

class TestFirstRun : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void startingStep_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("step");
        QTest::addColumn<QString>("form");
        QTest::newRow("no switch") << QStringList{"--first-run"} << 0 << "";
        QTest::newRow("key step offers Stripe")
            << QStringList{"--first-run-step", "4"} << 4 << "stripe";
        QTest::newRow("plus sign") << QStringList{"--first-run-step", "+5"} << 5 << "";
        QTest::newRow("out of range") << QStringList{"--first-run-step", "9"} << 0 << "";
        QTest::newRow("negative") << QStringList{"--first-run-step", "-1"} << 0 << "";
        QTest::newRow("a word") << QStringList{"--first-run-step", "four"} << 0 << "";
        QTest::newRow("nothing after") << QStringList{"--first-run-step"} << 0 << "";
    }
    void startingStep()
    {
        QFETCH(QStringList, args);
        Walk w;
        auto m = w.start(args);
        QTEST(m->stepNumber(), "step");
        QTEST(m->form() ? m->form()->platformRaw() : QString(), "form");
    }

    void skippingReachesLiveWithoutAName()
    {
        Walk w;
        auto m = w.start();
        QCOMPARE(m->title(), "Every sale, live in your notch.");
        m->secondary(); // "Skip to connecting"
        QCOMPARE(m->step(), FirstRunStep::Pick);
        m->later(); // "I'll do this later"
        QCOMPARE(m->step(), FirstRunStep::Tune);
        m->chooseChime("bell");
        QCOMPARE(w.settings.value("chime").toString(), "bell");
        QCOMPARE(w.sound.played.size(), 1);
        m->chooseRestStyle("dot");
        QCOMPARE(w.model.restStyle(), RestStyle::Dot);
        m->primary();
        QCOMPARE(m->step(), FirstRunStep::Live);
        QCOMPARE(m->body(),
                 "Connect a platform any time from the Korvanta menu → Settings → Accounts.");

        QSignalSpy login(m.get(), &FirstRunModel::registerAtLoginRequested);
        QSignalSpy finished(m.get(), &FirstRunModel::finished);
        m->setOpenAtLogin(false);
        m->primary(); // "Finish"
        QCOMPARE(login.size(), 0);
        QCOMPARE(finished.size(), 1);
        QCOMPARE(w.sound.played.size(), 2);
        QCOMPARE(w.settings.value("onboarded").toBool(), true);
    }

    void framerPickSignsInAtOnce()
    {
        Walk w;
        auto m = w.start();
        QSignalSpy signIn(m.get(), &FirstRunModel::signInFramerRequested);
        m->go(int(FirstRunStep::Demo));
        QCOMPARE(m->demoLabel(), "Show me a sale");
        m->playDemo();
        QCOMPARE(m->demoLabel(), "Play it again");
        QCOMPARE(w.demos, 1);
        m->pick("framer");
        QCOMPARE(signIn.size(), 1);
        QCOMPARE(m->title(), "Sign in to Framer.");
        QCOMPARE(m->secondaryLabel(), "Open the sign-in window again");
        m->primary(); // "I've signed in"
        m->primary();
        QVERIFY(m->body().startsWith("Korvanta is watching Framer. "));
    }

    void closingTheWindowOnboards()
    {
        Walk w;
        QQmlEngine engine;
        FirstRunWindow window(engine, {w.model, w.sources, w.settings, w.chime},
                              {"korvanta", "--first-run-step", "1"});
        window.show();
        QVERIFY(window.window());
        QCOMPARE(window.window()->title(), "Welcome to Korvanta");
        QCOMPARE(window.window()->size(), QSize(720, 520));
        auto *title = findItem(window.window(), "stepTitle");
        QVERIFY(title);
        QCOMPARE(title->property("text").toString(), "Works with the places you already sell.");
        auto *ribs = findItem(window.window(), "ribs");
        QVERIFY(ribs);
        QCOMPARE(ribs->property("host").value<QObject *>()->property("script").toString(),
                 "KV.set({base:'#10100e',peakX:1,edgeFall:1,floor:0,haze:.16,gain:1,veil:false,"
                 "color:'#ffe03a',reach:0.42,vreach:1.0,visible:true})");
        QVERIFY(!w.settings.value("onboarded").toBool());
        window.window()->close();
        QCOMPARE(w.settings.value("onboarded").toBool(), true);
        QTRY_VERIFY(!window.window());
    }

    void settingsTabFromArguments_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("tab");
        QTest::newRow("none") << QStringList{"--settings"} << 0;
        QTest::newRow("number") << QStringList{"--settings-tab", "1"} << 1;
        QTest::newRow("name") << QStringList{"--settings-tab", "Accounts"} << 2;
        QTest::newRow("out of range") << QStringList{"--settings-tab", "7"} << 0;
    }
    void settingsTabFromArguments()
    {
        QFETCH(QStringList, args);
        QTEST(SettingsTab::fromArguments(args), "tab");
    }
};

// The walkthrough's ribs are a web page: the engine starts before the app.
KORVANTA_WEB_TEST_MAIN(TestFirstRun, QApplication)
#include "tst_firstrun.moc"
