#include "ManualAnimationDriver.h"
#include "design/Fonts.h"
#include "notch/IslandContent.h"
#include "notch/IslandShape.h"
#include "notch/NotchQml.h"
#include "notch/NotchScreen.h"
#include "notch/RibsHost.h"
#include "notch/RibsScript.h"
#include "support/IslandSetup.h"
#include "support/Pixels.h"
#include "support/WebTestMain.h"

#include <QGuiApplication>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QSignalSpy>
#include <QTest>

namespace {

bool near(const QColor &a, const QColor &b, int tolerance = 40)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
        && std::abs(a.blue() - b.blue()) <= tolerance;
}

// Pixels in `rect` lighter than the island's black: text, marks, glow.
int lit(const QImage &image, const QRect &rect)
{
    int n = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            n += image.pixelColor(x, y).lightness() > 80;
    return n;
}

const QColor white(255, 255, 255);
const QColor black(0, 0, 0);
const QColor pink(0xff, 0x5c, 0xcf);
const QColor framerBlue(0x1e, 0x8b, 0xff);

} // namespace

class TestIsland : public QObject {
    Q_OBJECT

    // The island view on white (so the black island shows), driven by hand.
    struct View {
        IslandSetup setup;
        ManualAnimationDriver driver;
        QQuickView window;
        NotchModel &model = setup.model;

        View()
        {
            window.setColor(Qt::white);
            window.setInitialProperties({{"model", QVariant::fromValue<QObject *>(&model)}});
            window.setSource(QUrl("qrc:/qt-project.org/imports/Korvanta/Notch/IslandView.qml"));
            window.resize(900, 500);
            window.show();
            driver.install();
        }
        QImage settle(qint64 ms = 2500)
        {
            driver.advance(ms);
            return window.grabWindow();
        }
        QQuickItem *find(const char *name) const
        {
            return window.rootObject()->findChild<QQuickItem *>(name);
        }
    };

private Q_SLOTS:
    void initTestCase()
    {
        registerNotchQml();
        Fonts::registerAll();
    }

    // The plain form is checked with the page below, the walkthrough's with its window.
    void colourCannotBreakOutOfItsString()
    {
        QCOMPARE(ribsScript("#fff');alert(1);('", 0.3, 0.42, true, ""),
                 "KV.set({color:'#fff);alert(1);(',reach:0.3,vreach:0.42,visible:true})");
    }

    // Before the page loads only the latest script is kept, and it runs once;
    // afterwards every change runs at once; a new page starts from the current state.
    void ribsPending()
    {
        RibsHost host;
        QSignalSpy ran(&host, &RibsHost::evaluate);
        host.setColor("#7466ff");
        host.setShown(true);
        host.setReach(0.55);
        QCOMPARE(ran.count(), 0);
        host.pageLoaded(true);
        QCOMPARE(ran.count(), 1);
        QCOMPARE(ran.at(0).at(0).toString(), host.script());
        host.setVreach(0.88);
        QCOMPARE(ran.count(), 2);
        host.pageGone();
        host.setShown(false);
        host.pageLoaded(true);
        QCOMPARE(ran.count(), 3);
        QCOMPARE(ran.at(2).at(0).toString(),
                 "KV.set({color:'#7466ff',reach:0.55,vreach:0.88,visible:false})");
    }

    // A short island gets half-circle corners: the radius is capped at half the height.
    void shortIsland()
    {
        const QPainterPath path = islandPath(QRectF(0, 0, 200, 20), 26, 7);
        QVERIFY(path.contains(QPointF(100, 19)));
        QVERIFY(path.contains(QPointF(187, 10))); // the corner is a half circle of radius 10
        QVERIFY(!path.contains(QPointF(191, 18)));
        QVERIFY(!path.contains(QPointF(3, 15))); // under the ear: outside the body
        QCOMPARE(path.boundingRect(), QRectF(0, 0, 200, 20));
    }

    void drawnNotch()
    {
        QCOMPARE(NotchScreen::drawnNotch({0, 0, 1920, 1080}, {0, 32, 1920, 1048}), QSizeF(185, 32));
        QCOMPARE(NotchScreen::description("eDP-1", {185, 32.7}, false),
                 "eDP-1: drawn notch 185×32");
        QCOMPARE(NotchScreen::panelFrame({1920, 0, 1280, 800}), QRect(1920 + 190, 0, 900, 500));
        QVERIFY(NotchScreen::isBuiltIn("eDP-1") && NotchScreen::isBuiltIn("LVDS1"));
        QVERIFY(!NotchScreen::isBuiltIn("HDMI-1"));
    }

    void rest_data()
    {
        QTest::addColumn<RestStyle>("style");
        QTest::addColumn<bool>("accounts");
        QTest::addColumn<qint64>("revenue"); // minor units; -1: none yet
        QTest::newRow("hidden") << RestStyle::Hidden << true << qint64(-1);
        QTest::newRow("dot") << RestStyle::Dot << true << qint64(-1);
        QTest::newRow("total, no revenue yet") << RestStyle::Total << true << qint64(-1);
        QTest::newRow("total with a figure") << RestStyle::Total << true << qint64(1234567);
        QTest::newRow("total, no platforms") << RestStyle::Total << false << qint64(-1);
    }
    void rest()
    {
        QFETCH(RestStyle, style);
        QFETCH(bool, accounts);
        QFETCH(qint64, revenue);
        View v;
        v.model.setNotch({185, 32});
        v.model.setRestStyle(style);
        v.model.setHasAccounts(accounts);
        if (revenue >= 0)
            v.model.setRevenue(Money{revenue, "USD"});
        const QImage image = v.settle();

        const int w = int(v.model.islandSize().width());
        const int left = 450 - w / 2;
        // Black from edge to edge of the body (inside the ears), white around.
        QVERIFY(near(image.pixelColor(450, 16), black));
        QVERIFY(near(image.pixelColor(left + 8, 16), black));
        QVERIFY(near(image.pixelColor(left + w - 9, 16), black));
        QVERIFY(near(image.pixelColor(left - 3, 16), white));
        QVERIFY(near(image.pixelColor(450, 36), white));
        QCOMPARE(v.find("wings")->isVisible(), style == RestStyle::Total);
        QCOMPARE(v.find("restDot")->isVisible(), style == RestStyle::Dot);

        const QRect leftWing(left + 10, 2, w / 2 - 92 - 10, 28);
        const QRect rightWing(450 + 93, 2, w / 2 - 93 - 10, 28);
        switch (style) {
        case RestStyle::Hidden:
            QCOMPARE(w, 185);
            QCOMPARE(lit(image, QRect(left + 10, 2, w - 20, 26)), 0);
            break;
        case RestStyle::Dot:
            QCOMPARE(w, 231);
            QVERIFY(pixelsNear(image, QRect(left + w - 15 - 6, 13, 6, 6), framerBlue) >= 12);
            break;
        case RestStyle::Total:
            if (accounts) { // the yellow marker at half strength on black
                QVERIFY(pixelsNear(image, leftWing, QColor(128, 112, 29), 30) > 10);
                // "–", or a longer figure: more text to the right
                const int text = lit(image, rightWing);
                QVERIFY2(revenue < 0 ? text > 4 && text < 40 : text > 80,
                         qPrintable(QString::number(text)));
            } else { // the Framer mark, dim; no figure
                QVERIFY(lit(image, leftWing) > 10);
                QCOMPARE(lit(image, rightWing), 0);
            }
            break;
        }
    }

    // A Gumroad moment: the wide island with its title and amount, ribs tinted pink.
    void moment()
    {
        View v;
        v.model.setNotch({185, 32});
        v.model.show({Platform::Gumroad, "New sale on Gumroad", "Icon pack", "+$29"});
        QImage image = v.settle();
        QCOMPARE(v.model.islandSize(), QSizeF(420, 110));
        auto *ribs = v.find("ribs");
        QCOMPARE(ribs->property("color").toString(), "#ff5ccf");
        QCOMPARE(ribs->property("shown").toBool(), true);
        QVERIFY(near(image.pixelColor(450 - 190, 60), black));
        QVERIFY(near(image.pixelColor(450, 113), white));
        // Title on the left, the amount on the right, both below the notch.
        QVERIFY(lit(image, QRect(240 + 23 + 52, 32, 120, 72)) > 40);
        QVERIFY(lit(image, QRect(450 + 90, 40, 100, 60)) > 40);
        // The ribs page (a real web page) glows pink once it has loaded.
        QTRY_VERIFY_WITH_TIMEOUT(
            pixelsNear(image = v.settle(100), QRect(250, 0, 400, 30), pink, 90) > 50, 20000);
    }

    // Expanded: the dashboard supplied from outside, loaded with its model.
    void expanded()
    {
        View v;
        v.model.setNotch({185, 32});
        QTemporaryDir dir;
        QFile qml(dir.filePath("Dashboard.qml"));
        QVERIFY(qml.open(QIODevice::WriteOnly));
        qml.write(
            "import QtQuick\nRectangle { property QtObject model; color: model.objectName }\n");
        qml.close();
        QObject dashboardModel;
        dashboardModel.setObjectName("#00ff00");
        IslandContent content;
        content.setDashboard(QUrl::fromLocalFile(qml.fileName()), &dashboardModel);
        v.window.rootObject()->setProperty("content", QVariant::fromValue<QObject *>(&content));
        v.model.expand();
        const QImage image = v.settle();
        QCOMPARE(v.model.islandSize(), QSizeF(574, 32 + 257));
        QVERIFY(pixelsNear(image, QRect(200, 60, 500, 200), QColor(0, 255, 0)) > 90000);
        QVERIFY(near(image.pixelColor(450, 295), white));
        v.model.collapse();
        v.settle();
        QVERIFY(!v.find("dashboard")->isVisible());
    }
};

KORVANTA_WEB_TEST_MAIN(TestIsland, QGuiApplication,
                       {{"QT_QUICK_BACKEND", "software"}, {"QSG_RENDER_LOOP", "basic"}})

#include "tst_island.moc"
