#include "ItemSearch.h"
#include "core/AccountKey.h"
#include "design/Fonts.h"
#include "support/IslandSetup.h"
#include "support/Pixels.h"
#include "ui/Dashboard.h"
#include "ui/TodayModel.h"
#include "ui/TodayRender.h"
#include "ui/UiModule.h"

#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QTemporaryDir>
#include <QTest>

using namespace std::chrono_literals;

namespace {

const QDateTime noon(QDate(2026, 12, 5), QTime(12, 0), Qt::UTC);
const Account stripe{QUuid::createUuid(), Platform::Stripe, "Acme", {}, false};
const Account gumroad{QUuid::createUuid(), Platform::Gumroad, "Zines", {}, false};

SaleEvent sale(const Account &a, const QString &title, qint64 minor, const QString &currency,
               qint64 secondsAgo = 60, SaleEvent::Kind kind = SaleEvent::Kind::Sale)
{
    static int n = 0;
    std::optional<Money> amount;
    if (minor)
        amount = Money{minor, currency};
    return {QString::number(++n), a.id, a.platform, kind, title, amount, noon.addSecs(-secondsAgo)};
}

// A notch model on the hand-moved clock, as the shell fills it.
struct Dash {
    IslandSetup parts;
    ManualClock &clock = parts.clock;
    NotchModel &notch = parts.model;
    TodayModel model{notch, clock, QLocale(QLocale::English, QLocale::UnitedStates)};

    Dash(QList<Account> accounts, bool framer = false)
    {
        notch.setSignedIn(framer);
        if (framer)
            notch.setToday(TodaySummary{3, 1200, 2, {{"Folio", 3, 900}}, noon});
        notch.setAccounts(std::move(accounts));
    }
    QStringList stats() const
    {
        QStringList list;
        for (const TodayStat &s : model.statList())
            list << s.label + u'=' + s.value;
        return list;
    }
};

}

class TestToday : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Fonts::registerAll(); }

    void tabsAndTitles_data()
    {
        QTest::addColumn<bool>("framer");
        QTest::addColumn<int>("accounts");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("notConnected");
        QTest::newRow("nothing") << false << 0 << "all"
                                 << "Today so far" << true;
        QTest::newRow("framer alone shows at once") << true << 0 << "all"
                                                    << "Today so far" << false;
        QTest::newRow("framer among others") << true << 1 << "framer"
                                             << "Framer today" << false;
        QTest::newRow("account") << false << 1 << "stripe"
                                 << "Stripe today" << false;
        QTest::newRow("unknown id shows all") << false << 2 << "gone"
                                              << "Today so far" << false;
    }
    void tabsAndTitles()
    {
        QFETCH(bool, framer);
        QFETCH(int, accounts);
        QFETCH(QString, selected);
        Dash d(QList<Account>{stripe, gumroad}.mid(0, accounts), framer);
        d.notch.setTab(selected == u"stripe" ? accountKey(stripe.id) : selected);
        QTEST(d.model.title(), "title");
        QTEST(d.model.notConnected(), "notConnected");
    }

    void figures_data()
    {
        QTest::addColumn<QList<SaleEvent>>("today");
        QTest::addColumn<QList<SaleEvent>>("yesterday");
        QTest::addColumn<bool>("stripeTab");
        QTest::addColumn<QStringList>("stats");
        QTest::addColumn<QString>("subtitle");
        const qint64 day = 86400;
        QTest::newRow("mixed currencies use the most frequent")
            << QList{sale(gumroad, "Zine", 1000, "USD"), sale(stripe, "Pro", 5000, "EUR"),
                     sale(gumroad, "Zine", 1000, "USD")}
            << QList{sale(gumroad, "Zine", 1000, "USD", day + 60),
                     sale(stripe, "Pro", 9000, "EUR", day + 60)}
            << false << QStringList{"Revenue=$20", "Sales=3", "vs yesterday=+100%"}
            << "Pro is your top seller"; // weighed in minor units, whatever the currency
        QTest::newRow("yesterday after this moment does not count")
            << QList{sale(gumroad, "Zine", 1000, "USD")}
            << QList{sale(gumroad, "Zine", 4000, "USD", day - 60)} << false
            << QStringList{"Revenue=$10", "Sale=1", "vs yesterday=New"}
            << "Zine is your top seller";
        QTest::newRow("down, with the minus sign")
            << QList{sale(gumroad, "Zine", 500, "USD")}
            << QList{sale(gumroad, "Zine", 1000, "USD", day + 60)} << false
            << QStringList{"Revenue=$5", "Sale=1", "vs yesterday=−50%"}
            << "Zine is your top seller";
        QTest::newRow("half a percent rounds away from zero")
            << QList{sale(gumroad, "Zine", 199, "USD")}
            << QList{sale(gumroad, "Zine", 200, "USD", day + 60)} << false
            << QStringList{"Revenue=$1.99", "Sale=1", "vs yesterday=−1%"}
            << "Zine is your top seller";
        QTest::newRow("nothing either day")
            << QList<SaleEvent>{} << QList<SaleEvent>{} << false
            << QStringList{"Revenue=–", "Sales=0", "vs yesterday=–"} << "Quiet so far";
        QTest::newRow("quiet today, sales yesterday")
            << QList<SaleEvent>{}
            << QList{sale(gumroad, "Zine", 100, "USD", day), sale(gumroad, "Zine", 100, "USD", day)}
            << false << QStringList{"Revenue=–", "Sales=0", "vs yesterday=–"}
            << "Quiet so far · 2 sales yesterday";
        QTest::newRow("a failed payment is no revenue")
            << QList{sale(stripe, "Pro", 2000, "USD"),
                     sale(stripe, "Pro", 9900, "USD", 30, SaleEvent::Kind::Failed)}
            << QList<SaleEvent>{} << true
            << QStringList{"Revenue=$20", "Payment=1", "vs yesterday=New"}
            << "Pro · 1st sale today";
        QTest::newRow("stripe tab counts payments, ordinal in words")
            << QList{sale(stripe, "Pro", 2000, "USD"), sale(stripe, "Pro", 2000, "USD"),
                     sale(stripe, "Pro", 2000, "USD"), sale(gumroad, "Zine", 100, "USD")}
            << QList<SaleEvent>{} << true
            << QStringList{"Revenue=$60", "Payments=3", "vs yesterday=New"}
            << "Pro · 3rd sale today";
    }
    void figures()
    {
        QFETCH(QList<SaleEvent>, today);
        QFETCH(QList<SaleEvent>, yesterday);
        QFETCH(bool, stripeTab);
        Dash d({stripe, gumroad});
        d.notch.setTab(stripeTab ? accountKey(stripe.id) : QStringLiteral("all"));
        d.notch.setSales(today);
        d.notch.setYesterdaySales(yesterday);
        QTEST(d.stats(), "stats");
        QTEST(d.model.subtitle(), "subtitle");
    }

    void topRowsByRevenueThenCount()
    {
        Dash d({stripe, gumroad});
        d.notch.setSales({sale(gumroad, "Free zine", 0, {}), sale(gumroad, "Free zine", 0, {}),
                          sale(gumroad, "Zine", 500, "USD"), sale(stripe, "Pro", 2000, "USD"),
                          sale(gumroad, "Sticker", 0, {})});
        QList<TopRow> expected{{"Pro", "1 sale", "+$20", Platform::Stripe},
                               {"Zine", "1 sale", "+$5", Platform::Gumroad},
                               {"Free zine", "2 sales", "+2", Platform::Gumroad},
                               {"Sticker", "1 sale", "+1", Platform::Gumroad}};
        QCOMPARE(d.model.rows(), expected);
        d.notch.setTab(accountKey(gumroad.id)); // no logos on an account's tab
        QVERIFY(!d.model.rows().first().platform);
    }

    void statusLineMovesEveryMinuteWhileShown()
    {
        Dash d({stripe});
        QCOMPARE(d.model.statusLine(), "Checking…");
        d.notch.setLastCheck(noon.addSecs(-9 * 60));
        QCOMPARE(d.model.statusLine(), "Updated 9 min ago");
        d.model.setActive(true);
        d.clock.advance(2min, 1s);
        QCOMPARE(d.model.statusLine(), "Last updated 11 min ago · retrying");
        QVERIFY(d.model.retrying());
        d.model.setActive(false);
        d.clock.advance(2h, 1min);
        QCOMPARE(d.model.statusLine(),
                 "Last updated 11 min ago · retrying"); // nothing runs when hidden
        QCOMPARE(TodayFigures::updatedText(90000), "Last updated 1 d ago · retrying");
        QCOMPARE(TodayFigures::updatedText(3600), "Last updated 1 h ago · retrying");
    }

    // Each platform's page itself is tested with its connector; here, that
    // each one is reached with what it needs.
    void dashboardPages_data()
    {
        QTest::addColumn<Account>("account");
        QTest::addColumn<QString>("page");
        auto make = [](Platform p, const QString &label, QMap<QString, QString> extra = {}) {
            return Account{QUuid::createUuid(), p, label, extra, false};
        };
        QTest::newRow("stripe test mode") << make(Platform::Stripe, "Acme (test mode)")
                                          << "https://dashboard.stripe.com/test/payments";
        QTest::newRow("shopify without a store") << make(Platform::Shopify, "Shop") << "";
        QTest::newRow("square sandbox flag") << make(Platform::Square, "Café", {{"sandbox", "1"}})
                                             << "https://developer.squareup.com/apps";
        QTest::newRow("woocommerce")
            << make(Platform::WooCommerce, "W", {{"site", "shop.example.com/"}})
            << "https://shop.example.com/wp-admin/admin.php?page=wc-orders";
    }
    void dashboardPages()
    {
        QFETCH(Account, account);
        const auto url = Dashboard::url(account);
        QTEST(url ? url->toString() : QString(), "page");
        for (Platform p : Platforms::all()) // every platform has a page of its own
            if (p != Platform::Shopify && p != Platform::WooCommerce)
                QVERIFY(Dashboard::url(Account{QUuid(), p, "x", {}, false}).has_value());
    }

    void renderedDashboardShowsItsFigures()
    {
        Dash d({stripe, gumroad});
        d.notch.setSales({sale(gumroad, "Zine", 1000, "USD"), sale(stripe, "Pro", 2000, "USD")});
        d.notch.setLastCheck(noon.addSecs(-11 * 60));
        d.notch.setShowTop(true);
        QQmlEngine engine;
        UiModule::prepare(engine);
        QQuickView view(&engine, nullptr);
        view.setInitialProperties({{"model", QVariant::fromValue(&d.model)}});
        view.setResizeMode(QQuickView::SizeViewToRootObject);
        view.setSource(UiModule::url("TodayCard"));
        QCOMPARE(view.status(), QQuickView::Ready);
        const QImage image = view.grabWindow();
        QCOMPARE(image.width(), 574);
        QVERIFY(d.notch.panelHeight() > 100); // the view reported its height
        const auto region = [&](const char *name) {
            QQuickItem *item = findItem(view.rootObject(), name);
            return item ? item->mapRectToScene(item->boundingRect()).toRect() : QRect();
        };
        // Revenue in the accent, the status line in the warning colour, black around them.
        QVERIFY(pixelsNear(image, region("stat0"), QColor("#ffe03a"), 12) > 0);
        QVERIFY(pixelsNear(image, region("status"), QColor("#ff9f0a"), 12) > 0);
        QVERIFY(pixelsNear(image, region("rowTitle0"), QColor("#f4f2ec"), 12) > 0);
        QVERIFY(pixelsNear(image, QRect(0, 0, 574, 30), QColor("#f4f2ec"), 12) == 0);

        QTemporaryDir dir;
        const QString png = dir.filePath("today.png");
        QCOMPARE(TodayRender::toFile(engine, d.model, png), QString());
        QCOMPARE(QImage(png).width(), 574);
    }
};

QTEST_MAIN(TestToday)
#include "tst_today.moc"
