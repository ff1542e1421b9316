#include "share/CardFile.h"
#include "share/PageScript.h"
#include "share/ShareActions.h"
#include "share/ShareCards.h"
#include "share/ShareExporter.h"
#include "share/ShareSheet.h"
#include "share/ShareState.h"
#include "support/IslandSetup.h"

#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebChannel>
#include <limits>

namespace {

SaleEvent sale(const QString &title, Platform platform, qint64 cents, int minute)
{
    SaleEvent e;
    e.id = title;
    e.platform = platform;
    e.title = title;
    e.amount = Money{cents, QStringLiteral("USD")};
    e.at = QDateTime(QDate(2026, 12, 6), QTime(10, minute), Qt::UTC);
    return e;
}

QVariantMap cardNamed(const QVariantMap &data, const QString &name)
{
    for (const QVariant &c : data.value("cards").toList())
        if (c.toMap().value("name") == name)
            return c.toMap();
    return {};
}

}

class TestShareCards : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    QString settingsPath() const { return m_dir.filePath(QStringLiteral("settings.ini")); }

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void stateDefaultsAndTypedWrites_data()
    {
        QTest::addColumn<QVariantMap>("written");
        QTest::addColumn<QVariantMap>("expected");
        const QVariantMap defaults{
            {"hide", false}, {"frame", true}, {"handle", ""}, {"tagline", ""}};
        QTest::newRow("empty settings") << QVariantMap() << defaults;
        const QVariantMap all{{"hide", true}, {"frame", false}, {"handle", "a"}, {"tagline", "b"}};
        QVariantMap stranger = all;
        stranger.insert("k", "win");
        QTest::newRow("all four and a stranger") << stranger << all;
        QTest::newRow("text for a flag is ignored")
            << QVariantMap{{"frame", "false"}, {"tagline", 3.0}} << defaults;
    }
    void stateDefaultsAndTypedWrites()
    {
        QFETCH(QVariantMap, written);
        QFETCH(QVariantMap, expected);
        QFile::remove(settingsPath());
        {
            QSettings settings(settingsPath(), QSettings::IniFormat);
            ShareCards::setState(settings, written);
        }
        // Read back from the file, as the next run would.
        QSettings settings(settingsPath(), QSettings::IniFormat);
        QCOMPARE(ShareCards::state(settings), expected);
    }

    void cardTexts()
    {
        CardFigures f;
        f.now = QDateTime(QDate(2026, 12, 6), QTime(12, 0), Qt::UTC);
        f.sales = {sale("Icon Pack", Platform::Stripe, 4900, 5),
                   sale("Theme", Platform::Gumroad, 12000, 9),
                   sale("Font", Platform::Stripe, 3100, 1)};
        f.framer = TodaySummary{4, 1204, std::nullopt, {{"Portfolio", 3, 900}, {"Blog", 1, 304}}};
        const QVariantMap data = ShareCards::data(f, m_dir.path());
        QCOMPARE(data.value("day").toString(), "Sunday, December 6th");
        QCOMPARE(data.value("accent").toString(), "#ffe03a");
        QStringList texts;
        for (const QVariant &card : data.value("cards").toList())
            texts << card.toMap().value("name").toString() + ": "
                    + card.toMap().value("hl").toString() + " / "
                    + card.toMap().value("win").toString();
        QCOMPARE(texts,
                 (QStringList{"Day: Made {m}$200{m} today across {b}2{b} platforms / Sold on "
                              "{logo:stripe}Stripe and {logo:gumroad}Gumroad",
                              "Win: Someone just bought {b}Theme{b} / Your {b}3rd{b} sale today",
                              "Framer: {b}4 remixes{b} on Framer today. / Remixed today: "
                              "{b}Portfolio{b} and {b}Blog{b}"}));
        const QVariantMap day = cardNamed(data, "Day");
        QVERIFY(!day.value("hidden").toString().contains("$"));
        QVERIFY(!day.value("capH").toString().contains("$"));
        QCOMPARE(cardNamed(data, "Win").value("mark").toString(), "gumroad");

        f.framer.reset();
        f.sales.clear();
        const QVariantMap quiet = ShareCards::data(f, m_dir.path());
        QCOMPARE(quiet.value("cards").toList().size(), 2);
        QCOMPARE(cardNamed(quiet, "Day").value("hl").toString(), "No sales yet today.");
    }

    // The sheet as its page sees it: what it is filled with on "loaded", and
    // what its "state" messages store.
    void sheetLoadsStoredChoicesAndStoresTypedOnes()
    {
        IslandSetup notch;
        auto &[dir, settings, clock, output, chime, model] = notch;
        settings.setValue("shareFrame", 7); // not a flag: framed
        ShareExporter exporter(clock);
        ShareActions actions(settings, clock, model, exporter, m_dir.path());
        model.onShareAction = [&](const QString &a, const QVariantMap &b) { actions.handle(a, b); };
        ShareSheet sheet(settings, model, actions);
        actions.open();
        QCOMPARE(model.phase(), NotchModel::Phase::Share);
        QSignalSpy scripts(&sheet, &ShareSheet::script);
        auto *web = qobject_cast<QWebChannel *>(sheet.channel());
        QObject *kv = web->registeredObjects().value("kv");
        const auto post = [&](const QVariant &body) {
            QMetaObject::invokeMethod(kv, "postMessage", Q_ARG(QVariant, body));
        };

        post(QVariantMap{{"action", "loaded"}});
        const QVariantMap firstUse{
            {"hide", false}, {"frame", true}, {"handle", ""}, {"tagline", ""}, {"k", "day"}};
        QCOMPARE(scripts.takeFirst().first().toString(),
                 PageScript::load(model.shareData, firstUse));

        // A number is no flag: only the handle is stored.
        post(QVariantMap{{"action", "state"},
                         {"state", QVariantMap{{"hide", 1}, {"handle", "@maker"}}}});
        post(QVariant("not a dictionary"));
        post(QVariantMap{{"action", 3}});
        QCOMPARE(ShareCards::state(settings).value("hide"), QVariant(false));
        QCOMPARE(ShareCards::state(settings).value("handle"), QVariant("@maker"));

        post(QVariantMap{{"action", "close"}});
        QCOMPARE(model.phase(), NotchModel::Phase::Rest);
        QVERIFY(scripts.isEmpty());
    }

    void list_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("joined");
        QTest::newRow("none") << QStringList{} << "";
        QTest::newRow("one") << QStringList{"A"} << "A";
        QTest::newRow("three") << QStringList{"A", "B", "C"} << "A, B and C";
    }
    void list()
    {
        QFETCH(QStringList, names);
        QFETCH(QString, joined);
        QCOMPARE(ShareCards::list(names), joined);
    }

    void unserialisableValuesBecomeEmptyObject_data()
    {
        QTest::addColumn<QVariant>("bad");
        QTest::newRow("not a number") << QVariant(std::numeric_limits<double>::quiet_NaN());
        QTest::newRow("an object") << QVariant::fromValue<QObject *>(this);
        QTest::newRow("deep in a list")
            << QVariant(QVariantList{1, QVariant::fromValue(QSize(1, 1))});
    }
    void unserialisableValuesBecomeEmptyObject()
    {
        QFETCH(QVariant, bad);
        const QVariantMap state{{"hide", false}};
        QCOMPARE(PageScript::load({{"cards", bad}}, state),
                 QString("KV.load({}, {\"hide\":false})"));
        QCOMPARE(PageScript::exportCard(state, {{"x", bad}}),
                 QString("KV.exportCard({\"hide\":false}, {})"));
    }

    void toastScriptKeepsTheMessageText()
    {
        QCOMPARE(PageScript::toast("Couldn't save: \"x\"</script>"),
                 QString("KV.toast([\"Couldn't save: \\\"x\\\"</script>\"][0])"));
    }

    void fileNamePerMinute()
    {
        const QDateTime at(QDate(2026, 12, 6), QTime(9, 5, 59));
        QCOMPARE(CardFile::name(at), QString("Korvanta 2026-12-06 09.05.png"));
        QCOMPARE(CardFile::name(at.addSecs(-59)), CardFile::name(at));
    }
};

QTEST_GUILESS_MAIN(TestShareCards)
#include "tst_sharecards.moc"
