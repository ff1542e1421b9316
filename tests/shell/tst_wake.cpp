#include "ShellFixture.h"
#include "shell/Shell.h"
#include "shell/WakeWatcher.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

using namespace std::chrono_literals;

// logind's manager object as far as sleeping goes.
class FakeLogind : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")
Q_SIGNALS:
    void PrepareForSleep(bool start);
};

// Runs against a private bus daemon standing in for the system bus, set up
// before anything in the process first asks for the system bus.
class TestWake : public QObject {
    Q_OBJECT
    QProcess m_bus;
    QString m_address;

private Q_SLOTS:
    void initTestCase()
    {
        m_bus.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        if (!m_bus.waitForStarted() || !m_bus.waitForReadyRead(10000))
            QSKIP("Needs dbus-daemon for a private system bus");
        m_address = QString::fromUtf8(m_bus.readLine()).trimmed();
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", m_address.toUtf8());
        QVERIFY(QDBusConnection::systemBus().isConnected());
    }

    // Only logind's own signal counts, and only waking; one check follows 8 s later.
    void wakeChecksEightSecondsLater()
    {
        ShellFixture f;
        f.settings.setValue("onboarded", true);
        Shell shell({f.settings, f.clock, f.poller, f.accounts, f.notch, f.settingsModel, f.watcher,
                     f.updates});
        QSignalSpy checks(&shell.cycle(), &CheckCycle::checked);
        QPixmap icon(16, 16);
        icon.fill(Qt::black);
        shell.start({}, QIcon(icon));
        QTRY_COMPARE(checks.size(), 1); // the check at start
        const int sleepers = f.clock.sleepers();

        QDBusConnection logind = QDBusConnection::connectToBus(m_address, "logind");
        FakeLogind manager;
        QVERIFY(logind.registerObject("/org/freedesktop/login1", &manager,
                                      QDBusConnection::ExportAllSignals));
        Q_EMIT manager.PrepareForSleep(false); // before it owns logind's name: an impostor
        QVERIFY(logind.registerService("org.freedesktop.login1"));
        // A round trip on the watcher's own connection: the bus has its match
        // rule and has told it logind's new owner before the signals below.
        QVERIFY(QDBusConnection::systemBus().interface()->isServiceRegistered(
            "org.freedesktop.login1"));
        QCoreApplication::processEvents();
        Q_EMIT manager.PrepareForSleep(true);
        Q_EMIT manager.PrepareForSleep(false);
        QTRY_COMPARE(f.clock.sleepers(), sleepers + 1);

        f.clock.advance(7999ms, 1ms);
        QVERIFY(!shell.cycle().checking());
        QCOMPARE(checks.size(), 1);
        f.clock.advance(1ms);
        QTRY_COMPARE(checks.size(), 2);
        QCOMPARE(f.clock.sleepers(), sleepers);
        logind.unregisterService("org.freedesktop.login1");
        QDBusConnection::disconnectFromBus("logind");
    }

    // Without a system bus the watcher stays silent and never fires.
    void noBusNoError()
    {
        QTest::failOnWarning(QRegularExpression(".*"));
        WakeWatcher watcher(QDBusConnection(QStringLiteral("no such bus")));
        QSignalSpy woke(&watcher, &WakeWatcher::woke);
        QCoreApplication::processEvents();
        QCOMPARE(woke.size(), 0);
    }
};

QTEST_MAIN(TestWake)
#include "tst_wake.moc"
