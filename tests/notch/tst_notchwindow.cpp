#include "notch/NotchController.h"
#include "notch/NotchQml.h"
#include "support/IslandSetup.h"
#include "support/WebTestMain.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QProcess>
#include <QRasterWindow>
#include <QScreen>
#include <QTest>

using Phase = NotchModel::Phase;

namespace {

// An ordinary window under the island that counts the clicks it gets.
class Beneath : public QRasterWindow {
public:
    int clicks = 0;

protected:
    void mousePressEvent(QMouseEvent *) override { ++clicks; }
    void paintEvent(QPaintEvent *) override {}
};

bool xdotool(const QStringList &args)
{
    return QProcess::execute("xdotool", args) == 0;
}

// The first line a tool prints.
QString firstLine(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(10000);
    return QString::fromUtf8(p.readAllStandardOutput()).section(u'\n', 0, 0);
}

QString windowProperty(WId id, const QString &name)
{
    return firstLine("xprop", {"-id", QString::number(id), name});
}

} // namespace

class TestNotchWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != "xcb")
            QSKIP("Needs an X display (run under the test session).");
        registerNotchQml();
    }

    // The window sits at the top centre of the screen, out of the taskbar
    // and pager, on every workspace, and takes input only over the island.
    void clicks()
    {
        IslandSetup setup;
        setup.model.setRestStyle(RestStyle::Hidden);
        Beneath beneath;
        QScreen *screen = QGuiApplication::primaryScreen();
        beneath.setGeometry(screen->geometry());
        beneath.show();
        QVERIFY(QTest::qWaitForWindowExposed(&beneath));

        NotchController notch(setup.model, setup.settings, setup.clock);
        QVERIFY(QTest::qWaitForWindowExposed(&notch.window()));
        const QRect screenRect = screen->geometry();
        QCOMPARE(notch.window().geometry(),
                 QRect(screenRect.x() + screenRect.width() / 2 - 450, screenRect.y(), 900, 500));
        QCOMPARE(notch.screenDescription(), screen->name() + ": drawn notch 185×24");
        QCOMPARE(setup.model.notch(), QSizeF(185, 24));
        const QString state = windowProperty(notch.window().winId(), "_NET_WM_STATE");
        QVERIFY2(state.contains("_NET_WM_STATE_SKIP_TASKBAR")
                     && state.contains("_NET_WM_STATE_SKIP_PAGER"),
                 qPrintable(state));
        QVERIFY(windowProperty(notch.window().winId(), "_NET_WM_DESKTOP").contains("4294967295"));

        const int centre = screenRect.x() + screenRect.width() / 2;
        // Inside the window's frame but away from the island: the click goes through.
        QVERIFY(xdotool({"mousemove", QString::number(centre - 300), "200", "click", "1"}));
        QTRY_COMPARE(beneath.clicks, 1);
        QCOMPARE(setup.model.phase(), Phase::Rest);
        // On the island: it grows under the pointer, and the click opens it.
        QVERIFY(xdotool({"mousemove", QString::number(centre), "10"}));
        QTRY_VERIFY(setup.model.hovering());
        QVERIFY(xdotool({"click", "1"}));
        QTRY_COMPARE(setup.model.phase(), Phase::Expanded);
        QCOMPARE(beneath.clicks, 1);
        // Leaving the open island closes it after half a second, on the clock.
        QVERIFY(xdotool({"mousemove", QString::number(centre - 300), "400"}));
        QTRY_COMPARE(setup.clock.sleepers(), 1); // the pending close
        setup.clock.advance(std::chrono::milliseconds(400));
        QCOMPARE(setup.model.phase(), Phase::Expanded);
        setup.clock.advance(std::chrono::milliseconds(200));
        QCOMPARE(setup.model.phase(), Phase::Rest);
    }

    // The open island has the keyboard. A click in another application takes
    // it and closes the island unless pinned; closing gives it back.
    void keyboard_data()
    {
        QTest::addColumn<bool>("pinned");
        QTest::addColumn<bool>("click");
        QTest::newRow("click elsewhere") << false << true;
        QTest::newRow("click elsewhere, pinned") << true << true;
        QTest::newRow("closed") << false << false;
    }
    void keyboard()
    {
        QFETCH(bool, pinned);
        QFETCH(bool, click);
        QProcess other;
        other.start("xmessage", {"-geometry", "300x100+0+300", "Another application"});
        const QString otherWindow =
            firstLine("xdotool", {"search", "--sync", "--class", "Xmessage"});
        QVERIFY(!otherWindow.isEmpty());
        QVERIFY(xdotool({"windowfocus", "--sync", otherWindow}));

        IslandSetup setup;
        NotchController notch(setup.model, setup.settings, setup.clock);
        QVERIFY(QTest::qWaitForWindowExposed(&notch.window()));
        setup.model.pinned = pinned;
        setup.model.expand();
        QTRY_VERIFY(notch.window().isActive());

        if (click) {
            // No window manager here: the focus moves as one would move it on the click.
            QVERIFY(xdotool({"mousemove", "150", "350", "click", "1"}));
            QVERIFY(xdotool({"windowfocus", "--sync", otherWindow}));
        } else {
            setup.model.collapse();
        }
        QTRY_VERIFY(!notch.window().isActive());
        QCOMPARE(setup.model.phase(), pinned ? Phase::Expanded : Phase::Rest);
        QCOMPARE(firstLine("xdotool", {"getwindowfocus"}), otherWindow);
        other.kill();
        other.waitForFinished();
    }
};

// Without a display the suite still starts, and reports itself skipped.
KORVANTA_WEB_TEST_MAIN(TestNotchWindow, QGuiApplication,
                       {{"QT_QUICK_BACKEND", "software"},
                        {"QT_QPA_PLATFORM",
                         qEnvironmentVariableIsEmpty("DISPLAY") ? "offscreen" : "xcb"}})

#include "tst_notchwindow.moc"
