#include "KorvantaProcess.h"
#include "shell/SingleInstance.h"
#include "support/FakePlatformServer.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>

// The desktop app beside the headless commands, and one app per session.
class TestDesktop : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("KORVANTA_TEST_SESSION"))
            QSKIP("Needs the private session of scripts/with-test-session.sh");
    }

    void withoutDisplayNamesTheHeadlessSwitches()
    {
        FakePlatformServer server;
        KorvantaProcess korvanta(server.endpointsForAll());
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            korvanta.environment().remove(name);
        const KorvantaRun r = korvanta.run({});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains("--today") && r.err.contains("--check"), qPrintable(r.err));
    }

    void headlessCommandsBesideTheRunningApp()
    {
        FakePlatformServer server;
        KorvantaProcess korvanta(server.endpointsForAll());
        std::unique_ptr<QProcess> app(korvanta.start({}));
        const QString events = korvanta.dataFolder() + "/events.json";
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(korvanta.dataFolder() + "/korvanta.lock"), 20000);
        QTRY_VERIFY(busNameTaken());

        // A status bar's --today reads and changes nothing, even a damaged store.
        QFile damaged(events);
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write("{not json");
        damaged.close();
        const KorvantaRun today = korvanta.run({"--today"});
        QCOMPARE(today.exitCode, 0);
        QCOMPARE(QJsonDocument::fromJson(today.out.toUtf8()).object().value("sales").toInt(), 0);
        QCOMPARE(korvanta.run({"--accounts"}).exitCode, 0);
        QCOMPARE(QDir(korvanta.dataFolder()).entryList({"*.corrupt-*"}), QStringList());

        const KorvantaRun check = korvanta.run({"--check"});
        QCOMPARE(check.exitCode, 3);
        QVERIFY(check.err.contains(
            "Another Korvanta is using its data folder. Quit it and try again."));
        QCOMPARE(app->state(), QProcess::Running);
        app->terminate();
        QVERIFY(app->waitForFinished(10000));
        QTRY_VERIFY(!busNameTaken());
    }

    void secondInstanceHandsOverItsSwitches()
    {
        SingleInstance running;
        QVERIFY(running.claim());
        QSignalSpy received(&running, &SingleInstance::switchesReceived);
        FakePlatformServer server;
        KorvantaProcess korvanta(server.endpointsForAll());
        const KorvantaRun second = korvanta.run({"--settings", "--settings-tab", "accounts"});
        QCOMPARE(second.exitCode, 0);
        QCOMPARE(received.size(), 1);
        QCOMPARE(received.first().first().toStringList(),
                 (QStringList{"--settings", "--settings-tab", "accounts"}));
    }

private:
    static bool busNameTaken()
    {
        return QDBusConnection::sessionBus().interface()->isServiceRegistered(
            QString::fromLatin1(SingleInstance::serviceName));
    }
};

QTEST_GUILESS_MAIN(TestDesktop)
#include "tst_desktop.moc"
