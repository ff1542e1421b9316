#include "notch/EffectSoundOutput.h"
#include "notch/NotchController.h"
#include "notch/NotchModel.h"
#include "notch/NotchQml.h"
#include "share/ShareActions.h"
#include "share/ShareCards.h"
#include "share/ShareExporter.h"
#include "share/ShareSheet.h"
#include "support/ManualClock.h"
#include "support/WebTestMain.h"

#include <QClipboard>
#include <QDBusConnection>
#include <QDesktopServices>
#include <QDir>
#include <QGuiApplication>
#include <QQuickItem>
#include <QQuickView>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrlQuery>

using namespace std::chrono_literals;

// The desktop's file manager, as the FileManager1 service on the test's
// private session bus: records what it was asked to show.
class FileManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")
public:
    QStringList shown;
public Q_SLOTS:
    Q_SCRIPTABLE void ShowItems(const QStringList &uris, const QString &) { shown << uris; }
};

// Receives what the app opens in the browser or the file manager.
class Opened : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public Q_SLOTS:
    void open(const QUrl &url) { urls << url; }
};

namespace {

constexpr auto webWait = 60000; // a first page start on a busy machine

SaleEvent sale(const QString &title, qint64 cents)
{
    SaleEvent e;
    e.id = title;
    e.platform = Platform::Stripe;
    e.title = title;
    e.amount = Money{cents, QStringLiteral("USD")};
    e.at = QDateTime(QDate(2026, 12, 5), QTime(11, 0), Qt::UTC);
    return e;
}

// Pixels close to the accent colour, where money is drawn.
int accentPixels(const QImage &image, const QRect &region)
{
    int count = 0;
    for (int y = region.top(); y <= region.bottom(); y += 2)
        for (int x = region.left(); x <= region.right(); x += 2) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 200 && c.green() > 170 && c.blue() < 140)
                ++count;
        }
    return count;
}

void type(QWindow &window, const char *text)
{
    for (; *text; ++text)
        QTest::keyClick(&window, *text);
}

int distinctColours(const QImage &image)
{
    QSet<QRgb> seen;
    for (int y = 0; y < image.height(); y += 9)
        for (int x = 0; x < image.width(); x += 9)
            seen.insert(image.pixel(x, y));
    return int(seen.size());
}

}

class TestShareExport : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QSettings m_settings{m_dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat};
    ManualClock m_clock{QDateTime(QDate(2026, 12, 5), QTime(12, 0, 10), Qt::UTC)};
    EffectSoundOutput m_sound;
    ChimePlayer m_chime{m_settings, m_sound};
    NotchModel m_model{m_settings, m_clock, m_chime};
    ShareExporter m_exporter{m_clock};
    ShareActions m_actions{m_settings, m_clock, m_model, m_exporter, m_dir.path()};
    QVariantMap m_data;
    QStringList m_toasts;
    QHash<QString, QVariantMap> m_sent; // what an open sheet last sent the shell, by action

    std::optional<QImage> render(const QVariantMap &state)
    {
        std::optional<QImage> result;
        bool done = false;
        m_exporter.exportCard(m_data, state, [&](std::optional<QImage> image) {
            result = std::move(image);
            done = true;
        });
        if (!QTest::qWaitFor([&] { return done; }, webWait))
            return std::nullopt;
        return result;
    }

    // Runs a sheet action and waits for its toast; none: an empty text.
    QString act(const QString &action, const QVariantMap &body)
    {
        const qsizetype before = m_toasts.size();
        m_actions.handle(action, body);
        return QTest::qWaitFor([&] { return m_toasts.size() > before; }, webWait)
            ? m_toasts.value(before)
            : QString();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        CardFigures figures{m_clock.now(), {sale("Icon Pack", 98000), sale("Font", 26000)}, {}, {}};
        m_data = ShareCards::data(figures, m_dir.path());
        m_model.shareData = m_data;
        connect(&m_actions, &ShareActions::toast, this,
                [this](const QString &t) { m_toasts << t; });
        m_model.onShareAction = [this](const QString &action, const QVariantMap &body) {
            m_sent.insert(action, body);
        };
        if (!render({{"k", "day"}}))
            QSKIP("The web engine cannot render pages on this machine.");
    }

    void cardIsExactly2400WideWithItsRevenue()
    {
        const auto shown = render({{"k", "day"}, {"hide", false}, {"frame", true}});
        QVERIFY(shown);
        QCOMPARE(shown->width(), 2400);
        QCOMPARE(shown->height(), 1350);
        // The headline band: the revenue is drawn in the accent colour.
        QVERIFY2(accentPixels(*shown, QRect(120, 300, 2160, 800)) > 500, "the revenue is missing");
        QVERIFY(ShareExporter::png(*shown)->startsWith("\x89PNG"));
    }

    void newerExportReplacesPendingOne()
    {
        int first = 0;
        std::optional<QImage> second;
        m_exporter.exportCard(m_data, {{"k", "win"}}, [&](std::optional<QImage>) { ++first; });
        m_exporter.exportCard(m_data, {{"k", "day"}, {"hide", true}},
                              [&](std::optional<QImage> image) { second = std::move(image); });
        QVERIFY(QTest::qWaitFor([&] { return second.has_value(); }, webWait));
        QTest::qWait(0);
        QCOMPARE(first, 0);
        // It hides the figures, and only them.
        QCOMPARE(accentPixels(*second, QRect(120, 300, 2160, 800)), 0);
        QVERIFY(distinctColours(*second) > 20);
    }

    void pageIsReleasedAfterAQuietMinuteUnlessTheSheetIsOpen()
    {
        QVERIFY(render({{"k", "day"}}));
        QVERIFY(m_exporter.hasPage());
        m_clock.advance(59s, 1s);
        QVERIFY(m_exporter.hasPage());
        m_clock.advance(2s, 1s);
        QVERIFY(!m_exporter.hasPage());

        m_model.openShare();
        QVERIFY(render({{"k", "day"}}));
        m_clock.advance(5min, 5s);
        QVERIFY(m_exporter.hasPage());
        m_model.collapse();
        m_clock.advance(61s, 1s);
        QVERIFY(!m_exporter.hasPage());
    }

    void saveTwiceInAMinuteKeepsOneFile()
    {
        FileManager files;
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.isConnected()
            || !bus.registerObject("/org/freedesktop/FileManager1", &files,
                                   QDBusConnection::ExportScriptableSlots)
            || !bus.registerService("org.freedesktop.FileManager1"))
            QSKIP("No session bus to offer a file manager on.");
        const QDir downloads(QStandardPaths::writableLocation(QStandardPaths::DownloadLocation));
        const QVariantMap body{{"state", QVariantMap{{"k", "day"}, {"handle", "maker"}}}};
        QCOMPARE(act("save", body), QString("Saved to Downloads"));
        m_clock.advance(30s, 30s);
        QCOMPARE(act("save", body), QString("Saved to Downloads"));
        const QStringList pngs = downloads.entryList({"Korvanta *.png"});
        QCOMPARE(pngs.size(), 1);
        const QString path = downloads.filePath(pngs.first());
        QCOMPARE(QImage(path).width(), 2400);
        QCOMPARE(m_settings.value("shareHandle").toString(), QString("maker"));
        QVERIFY(QTest::qWaitFor([&] { return files.shown.size() == 2; }, 5000));
        QCOMPARE(files.shown.first(), QUrl::fromLocalFile(path).toString());
        QFile::remove(path);
        bus.unregisterService("org.freedesktop.FileManager1");
        bus.unregisterObject("/org/freedesktop/FileManager1");
    }

    void postCopiesTheCardAndOpensTheIntent()
    {
        Opened opened;
        QDesktopServices::setUrlHandler("https", &opened, "open");
        QCOMPARE(act("post", {{"state", QVariantMap{{"k", "win"}}}}),
                 QString("Card copied. Paste it into your post"));
        QCOMPARE(QGuiApplication::clipboard()->image().width(), 2400);
        const QString caption = "Made $1,240 & 3 sales #buildinpublic +1";
        QCOMPARE(act("post", {{"state", QVariantMap{}}, {"caption", caption}}),
                 QString("Card copied. Paste it into your post"));
        QDesktopServices::unsetUrlHandler("https");
        QCOMPARE(opened.urls.size(), 2);
        QCOMPARE(opened.urls[0], QUrl("https://x.com/intent/post"));
        QCOMPARE(QUrlQuery(opened.urls[1]).queryItemValue("text", QUrl::FullyDecoded), caption);
    }

    // In the island's share phase the sheet gets the island's content area
    // (834 wide less 7 on either side, 388 below the notch) with nothing
    // overflowing. It takes the keyboard: typed text reaches the sheet's state and
    // the post; on closing the island gives the focus up again.
    void sheetInTheIsland()
    {
        registerNotchQml();
        m_sent.clear();
        ShareSheet sheet(m_settings, m_model, m_actions);
        NotchController notch(m_model, m_settings, m_clock);
        notch.setShareSheet(ShareSheet::view(), &sheet);
        m_model.setSales({sale("Icon Pack", 98000)});
        m_actions.open();
        QCOMPARE(m_model.phase(), NotchModel::Phase::Share);
        QVERIFY(QTest::qWaitFor([&] { return m_sent.contains("layout"); }, webWait));
        QCOMPARE(m_sent["layout"].value("size").toString(), QString("820x388"));
        QCOMPARE(m_sent["layout"].value("issues").toInt(), 0);
        QQuickView &window = notch.window();
        // The platform gives the island the keyboard only when it accepts focus.
        QVERIFY(!window.flags().testFlag(Qt::WindowDoesNotAcceptFocus));
        QTRY_VERIFY(window.isActive());
        const auto items = window.rootObject()->findChildren<QQuickItem *>();
        const auto web = std::find_if(items.begin(), items.end(), [](QQuickItem *item) {
            return QByteArray(item->metaObject()->className()).startsWith("QQuickWebEngineView");
        });
        QVERIFY(web != items.end());
        // The preview shows the Day card with its revenue in the accent colour.
        const QRect preview = (*web)->mapRectToScene(QRectF(14, 10, 496, 279)).toRect();
        QVERIFY(QTest::qWaitFor([&] { return accentPixels(window.grabWindow(), preview) > 20; },
                                webWait));

        // Into the caption field (the side column's first field), replacing its text.
        QTest::mouseClick(&window, Qt::LeftButton, {}, (*web)->mapToScene({666, 90}).toPoint());
        QTest::keyClick(&window, Qt::Key_A, Qt::ControlModifier);
        type(window, "Sold out!");
        QTest::keyClick(&window, Qt::Key_Tab); // the handle
        type(window, "maker");
        QVERIFY(QTest::qWaitFor(
            [&] { return m_sent["state"].value("state").toMap().value("handle") == "maker"; },
            webWait));
        for (int i = 0; i < 4; ++i) // tagline, copy, save, post
            QTest::keyClick(&window, Qt::Key_Tab);
        QTest::keyClick(&window, Qt::Key_Return);
        QVERIFY(QTest::qWaitFor([&] { return m_sent.contains("post"); }, webWait));
        QCOMPARE(m_sent["post"].value("caption").toString(), QString("Sold out!"));
        m_model.collapse();
        QVERIFY(window.flags().testFlag(Qt::WindowDoesNotAcceptFocus));
    }

    void pageThatNeverAnswersLeavesTheExportPending()
    {
        const QString path = m_dir.filePath("silent.html");
        QFile page(path);
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.write("<!doctype html><body>no channel here</body>");
        page.close();
        ShareExporter exporter(m_clock, QUrl::fromLocalFile(path));
        QSignalSpy loaded(&exporter, &ShareExporter::loadFinished);
        bool called = false;
        exporter.exportCard(m_data, {}, [&](std::optional<QImage>) { called = true; });
        QVERIFY(loaded.wait(webWait));
        QCOMPARE(loaded.first().first().toBool(), true);
        QTest::qWait(0); // what the page might still send arrives
        m_clock.advance(10min, 10s);
        QVERIFY(!called);
        QVERIFY(exporter.pending());
        QVERIFY(exporter.hasPage());
    }
};

KORVANTA_WEB_TEST_MAIN(TestShareExport, QGuiApplication)

#include "tst_shareexport.moc"
