#include "ShellFixture.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>

class TestSettingsModel : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("KORVANTA_TEST_SESSION"))
            QSKIP("Needs the private keyring of scripts/with-test-session.sh");
    }

    // Every change to the accounts is announced once, a refused one not at all.
    void changesAreAnnounced()
    {
        ShellFixture f;
        int changes = 0;
        f.settingsModel.afterChange = [&] { ++changes; };
        f.server.on("GET", "/payments", ScriptedResponse::json(R"({"items":[]})"));

        QCOMPARE(failureOf(f.settingsModel.connectPlatform(Platform::Dodo, {{"secret", " \n"}})),
                 "Paste the key first");
        QCOMPARE(failureOf(f.settingsModel.connectPlatform(Platform::Framer, {{"secret", "x"}})),
                 "Framer isn't supported yet");
        QCOMPARE(changes, 0);

        const Account account =
            runTask(f.settingsModel.connectPlatform(Platform::Dodo, {{"secret", "dodo_live_k1"}}));
        QCOMPARE(f.accounts.accounts(), QList{account});
        QCOMPARE(changes, 1);
        runTask(f.settingsModel.remove(account));
        QVERIFY(f.accounts.accounts().isEmpty());
        QCOMPARE(changes, 2);
    }

    void openAtLoginRoundTrip()
    {
        ShellFixture f;
        QSignalSpy changed(&f.settingsModel, &SettingsModel::openAtLoginChanged);
        QVERIFY(!f.settingsModel.openAtLogin());
        f.settingsModel.setOpenAtLogin(true);
        QVERIFY(f.settingsModel.openAtLogin());
        QVERIFY(f.settingsModel.loginMessage().isEmpty());
        QFile entry(f.autostart.entryPath());
        QVERIFY(entry.open(QIODevice::ReadOnly));
        QVERIFY(entry.readAll().contains("\nExec=\"/opt/Korvanta Apps/korvanta\"\n"));
        entry.close();
        QVERIFY(entry.open(QIODevice::WriteOnly | QIODevice::Append));

        entry.write("Hidden=true\n"); // the desktop's own switch for the entry
        entry.close();
        QVERIFY(!f.settingsModel.openAtLogin());
        f.settingsModel.setOpenAtLogin(false);
        QVERIFY(!QFile::exists(f.autostart.entryPath()));
        QCOMPARE(changed.size(), 2);
    }

    void openAtLoginRefused()
    {
        ShellFixture f;
        QFile blocker(f.dir.filePath("not-a-folder"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        Autostart blocked(f.dir.filePath("not-a-folder/autostart/korvanta.desktop"), "/bin/k");
        SettingsModel model(f.accounts, f.poller, {f.http, f.clock, f.caches}, blocked);
        QSignalSpy changed(&model, &SettingsModel::openAtLoginChanged);
        model.setOpenAtLogin(true);
        QVERIFY(!model.openAtLogin());
        QCOMPARE(changed.size(), 1); // the switch goes back to what the file says
        QVERIFY2(model.loginMessage().startsWith("Your desktop didn't allow it: "),
                 qPrintable(model.loginMessage()));
        QVERIFY(model.loginMessage().endsWith(
            ". Check that your autostart folder can be written and try again."));
    }
};

QTEST_MAIN(TestSettingsModel)
#include "tst_settingsmodel.moc"
