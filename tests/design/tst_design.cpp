#include "design/DesignQml.h"
#include "design/Fonts.h"
#include "design/KorvantaMark.h"
#include "design/LogoCache.h"
#include "design/SvgPath.h"
#include "support/Pixels.h"
#include "support/TextTable.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QTest>

namespace {

// "M x y", "L x y", "C x y", "Z": each element of the path, curve points as
// Qt stores them (a cubic's three points; a quadratic becomes a cubic).
QString describe(const QPainterPath &path)
{
    QStringList out;
    for (int i = 0; i < path.elementCount(); ++i) {
        const auto e = path.elementAt(i);
        const char *kind = e.isMoveTo() ? "M" : e.isLineTo() ? "L" : e.isCurveTo() ? "C" : "";
        out << QString(QLatin1String(kind) + QStringLiteral(" %1 %2").arg(e.x).arg(e.y)).trimmed();
    }
    return out.join(u',');
}

} // namespace

class TestDesign : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        Fonts::registerAll();
        registerDesignQml();
    }

    void svgPath_data()
    {
        const auto row = textTable("d", "elements");
        row("minus starts a number", "M10-5L3-4", "M 10 -5,L 3 -4");
        row("move then pairs draws lines", "M0,0 10,0,10,10", "M 0 0,L 10 0,L 10 10");
        row("cubic", "M0 0C1 2 3 4 5 6", "M 0 0,C 1 2,3 4,5 6");
        row("quadratic as cubic", "M0 0Q3 3 6 0", "M 0 0,C 2 2,4 2,6 0");
        row("close returns to the start", "M1 1L5 1L5 5Z", "M 1 1,L 5 1,L 5 5,L 1 1");
        row("decimals in the C locale", "M1.5 .25", "M 1.5 0.25");
        row("unknown letter skips its numbers", "M0 0A5 5L2 2", "M 0 0,L 2 2");
        row("incomplete group ignored", "M0 0L4", "M 0 0");
    }
    void svgPath()
    {
        QFETCH(QString, d);
        QTEST(describe(parseSVGPath(d)), "elements");
    }

    // The mark fills its rectangle's middle, keeps its proportions and leaves
    // the tray icon's inset empty.
    void mark()
    {
        const QRectF bounds = KorvantaMark::shape().boundingRect();
        QVERIFY(bounds.height() > bounds.width());

        const QImage icon = menuBarImage(QSize(44, 44), Qt::black);
        QCOMPARE(icon.pixelColor(0, 0).alpha(), 0);
        QCOMPARE(pixelsNear(icon, QRect(0, 0, 3, 44), Qt::black), 0); // the side margins
        QCOMPARE(pixelsNear(icon, QRect(41, 0, 3, 44), Qt::black), 0);
        QVERIFY(pixelsNear(icon, QRect(4, 0, 36, 22), Qt::black) > 150);
        QVERIFY(pixelsNear(icon, QRect(4, 22, 36, 22), Qt::black) > 150);
        const QImage yellow = menuBarImage(QSize(22, 22), QColor(255, 224, 58));
        QVERIFY(pixelsNear(yellow, yellow.rect(), QColor(255, 224, 58)) > 60);
    }

    void fonts()
    {
        const QStringList families = QFontDatabase::families();
        QVERIFY(families.contains("Funnel Display"));
        QVERIFY(families.contains("Funnel Sans"));
        QFont semibold("Funnel Sans");
        semibold.setWeight(QFont::DemiBold);
        QCOMPARE(QFontInfo(semibold).family(), "Funnel Sans");
        QCOMPARE(QFontInfo(semibold).weight(), int(QFont::DemiBold));
    }

    void tokensInQml()
    {
        QQmlEngine engine;
        QQmlComponent component(&engine);
        component.setData(R"(
            import QtQuick
            import Korvanta.Design
            QtObject {
                property var values: [T.C.fg, T.C.fg64.a.toFixed(2), T.C.page, T.platformHex.gumroad,
                    T.F.title.family, T.F.title.pixelSize, T.F.rest.weight, T.M.swap.duration,
                    T.M.chip.duration, T.accentHex("nowhere")]
            })",
                          QUrl());
        std::unique_ptr<QObject> object(component.create());
        QVERIFY2(object, qPrintable(component.errorString()));
        QStringList values;
        for (const QVariant &v : object->property("values").toList())
            values << v.toString();
        QCOMPARE(values.join(u' '),
                 "#f4f2ec 0.64 #10100e #ff5ccf Funnel Display 18 600 170 200 #ffe03a");
    }

    // Logos in the given colour: a file from the set, the drawn Framer mark,
    // and the initial for a platform without a file.
    void logos()
    {
        QQuickView view;
        view.setColor(Qt::black);
        QQmlComponent component(view.engine());
        component.setData(R"(
            import QtQuick
            import Korvanta.Design as DS
            Row {
                property alias initial: polar.showsInitial
                property alias framerInitial: framer.showsInitial
                Repeater { model: 2; DS.PlatformLogo { width: 48; height: 48; platform: "gumroad"; color: "#ff5ccf" } }
                DS.PlatformLogo { id: framer; width: 48; height: 48; platform: "framer"; color: "#ff5ccf" }
                DS.PlatformLogo { id: polar; width: 48; height: 48; platform: "polar"; color: "#ff5ccf" }
            })",
                          QUrl());
        auto *row = qobject_cast<QQuickItem *>(component.create());
        QVERIFY2(row, qPrintable(component.errorString()));
        row->setParentItem(view.contentItem());
        view.resize(192, 48);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const QImage image = view.grabWindow();
        const QColor pink(0xff, 0x5c, 0xcf);
        for (int i = 0; i < 4; ++i)
            QVERIFY2(pixelsNear(image, QRect(i * 48, 0, 48, 48), pink) > 80,
                     qPrintable(QString::number(i)));
        QCOMPARE(row->property("initial").toBool(), true);
        QCOMPARE(row->property("framerInitial").toBool(), false);
        auto *cache = view.engine()->singletonInstance<LogoCache *>(
            qmlTypeId("Korvanta.Design", 1, 0, "LogoCache"));
        QVERIFY(cache);
        QCOMPARE(cache->loads(), 2); // gumroad once for both, polar once (missing)
    }
};

QTEST_MAIN(TestDesign)
#include "tst_design.moc"
