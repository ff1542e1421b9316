#include "shell/StatusMenu.h"
#include "shell/TrayIcon.h"

#include <QApplication>
#include <QPainter>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

// The icon docks in a real tray host (trayer, XEmbed) on the virtual
// display, and a click on it opens the menu built from the current state.
class TestTray : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != u"xcb")
            QSKIP("Needs an X display (run under scripts/with-test-session.sh)");
        if (QStandardPaths::findExecutable("trayer").isEmpty()
            || QStandardPaths::findExecutable("xdotool").isEmpty())
            QSKIP("Needs trayer and xdotool");
        m_host.start("trayer",
                     {"--edge", "top", "--align", "right", "--widthtype", "request", "--height",
                      "32", "--SetDockType", "false"});
        QVERIFY(m_host.waitForStarted());
    }

    void cleanupTestCase()
    {
        m_host.terminate();
        m_host.waitForFinished();
    }

    void docksAndOpensItsMenu()
    {
        QTRY_VERIFY_WITH_TIMEOUT(QSystemTrayIcon::isSystemTrayAvailable(), 10000);
        QPixmap art(22, 22);
        art.fill(Qt::yellow);
        TrayIcon icon(QIcon(art), [] { return StatusMenu::build({}); });
        QSignalSpy commands(&icon, &TrayIcon::commanded);
        icon.show();
        QTRY_VERIFY_WITH_TIMEOUT(!dockedWindow().isEmpty(), 10000);
        QCOMPARE(icon.tray().toolTip(), "Korvanta");

        // A click can come before the host has mapped the docked window, or
        // reach a window Qt has just replaced with one in the tray's visual;
        // it is then lost, so look the window up again and click again.
        for (int click = 0; click < 5 && !icon.menu().isVisible(); ++click) {
            QString window;
            if (!QTest::qWaitFor([&] { return !(window = dockedWindow()).isEmpty(); }, 2000))
                continue;
            output("xdotool", {"mousemove", "--window", window, "8", "8", "click", "3"});
            (void)QTest::qWaitFor([&] { return icon.menu().isVisible(); }, 2000);
        }
        QVERIFY(icon.menu().isVisible());
        const QList<QAction *> actions = icon.menu().actions();
        QCOMPARE(actions.first()->text(), "Korvanta prototype · Framer");
        QAction *checkNow = *std::find_if(actions.begin(), actions.end(),
                                          [](QAction *a) { return a->text() == "Check now"; });
        QCOMPARE(checkNow->shortcut(), QKeySequence("Ctrl+R"));
        QTest::mouseClick(&icon.menu(), Qt::LeftButton, {},
                          icon.menu().actionGeometry(checkNow).center());
        QTRY_COMPARE(commands.size(), 1);
        QCOMPARE(commands.first().first().value<MenuItem::Command>(), MenuItem::Command::CheckNow);
    }

private:
    static QString output(const QString &program, const QStringList &args)
    {
        QProcess p;
        p.start(program, args);
        p.waitForFinished();
        return QString::fromLocal8Bit(p.readAllStandardOutput());
    }

    // This process's window that the tray host has taken in and shows, if any.
    static QString dockedWindow()
    {
        const QString pid = QString::number(QCoreApplication::applicationPid());
        const QStringList ids = output("xdotool", {"search", "--pid", pid}).split('\n');
        for (const QString &id : ids) {
            if (id.trimmed().isEmpty())
                continue; // xwininfo without an id waits for a click
            const QString info = output("xwininfo", {"-children", "-id", id.trimmed()});
            const qsizetype at = info.indexOf("Parent window id:");
            const bool docked =
                at >= 0 && !info.mid(at, info.indexOf('\n', at) - at).contains("root window");
            if (docked && output("xwininfo", {"-id", id.trimmed()}).contains("IsViewable"))
                return id.trimmed();
        }
        return {};
    }

    QProcess m_host;
};

int main(int argc, char **argv)
{
    // This suite needs the real X display, not the offscreen platform.
    if (!qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    TestTray test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_tray.moc"
