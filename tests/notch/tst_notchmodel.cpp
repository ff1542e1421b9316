#include "core/AccountKey.h"
#include "support/IslandSetup.h"

#include <QMetaEnum>
#include <QSignalSpy>
#include <QTest>

using namespace std::chrono_literals;
using Phase = NotchModel::Phase;

namespace {

Moment moment(const QString &title)
{
    return {Platform::Stripe, "New sale on Stripe", title, "+$12"};
}

QString springName(const Spring &spring)
{
    static const QList<std::pair<Spring, QString>> names{
        {Springs::expand, "expand"},  {Springs::collapse, "collapse"}, {Springs::share, "share"},
        {Springs::hover, "hover"},    {Springs::momentIn, "momentIn"}, {Springs::settle, "settle"},
        {Springs::numbers, "numbers"}};
    for (const auto &[known, name] : names)
        if (known == spring)
            return name;
    return QStringLiteral("none");
}

// A model on a hand-moved clock that records, at virtual milliseconds, each
// phase change as "Phase/spring@ms", and the chimes.
struct Setup : IslandSetup {
    const QDateTime start = clock.now();
    QStringList steps;
    int closed = 0;

    Setup()
    {
        output.now = [this] { return start.msecsTo(clock.now()); };
        model.onClosed = [this] { ++closed; };
        QObject::connect(&model, &NotchModel::phaseChanged, [this] {
            steps << QLatin1String(QMetaEnum::fromType<Phase>().valueToKey(int(model.phase())))
                    + u'/' + springName(model.animation()) + u'@'
                    + QString::number(start.msecsTo(clock.now()));
        });
    }
};

}

class TestNotchModel : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void threeMomentsInARow()
    {
        Setup s;
        QStringList titles;
        connect(&s.model, &NotchModel::momentChanged, [&] { titles << s.model.moment()->title; });
        for (const char *title : {"One", "Two", "Three"})
            s.model.show(moment(title));
        s.clock.advance(30s);
        QCOMPARE(s.steps,
                 (QStringList{"Moment/momentIn@0", "Afterglow/settle@5000", "Moment/momentIn@5800",
                              "Afterglow/settle@10800", "Moment/momentIn@11600",
                              "Afterglow/settle@16600", "Rest/settle@22600"}));
        QCOMPARE(s.output.heard(),
                 (QStringList{"chime.wav 0.6@0", "chime.wav 0.6@5800", "chime.wav 0.6@11600"}));
        QCOMPARE(titles, (QStringList{"One", "Two", "Three"}));
        QVERIFY(!s.model.busy() && s.model.queue().isEmpty());
        QCOMPARE(s.model.moment()->title, "Three"); // kept after it ends

        // Idle again: the next moment starts a new player at once.
        s.model.show(moment("Four"));
        QCOMPARE(s.model.phase(), Phase::Moment);
        s.clock.advance(11s);
        QVERIFY(!s.model.busy());
    }

    void momentWaitsWhileOpen()
    {
        Setup s;
        s.model.expand();
        s.model.show(moment("Waits"));
        s.clock.advance(1810ms);
        s.model.collapse();
        s.clock.advance(290ms); // the player looks every 0.3 s
        s.clock.advance(5450ms);
        s.model.expand(); // opened during the afterglow: the player leaves the dashboard open
        s.clock.advance(6s);
        QCOMPARE(s.steps,
                 (QStringList{"Expanded/expand@0", "Rest/collapse@1810", "Moment/momentIn@2100",
                              "Afterglow/settle@7100", "Expanded/expand@7550"}));
        QCOMPARE(s.output.heard(), QStringList{"chime.wav 0.6@2100"});
        QCOMPARE(s.closed, 1);
        QVERIFY(!s.model.busy());
    }

    void restNumbersChangeAfterTheMoment()
    {
        Setup s;
        s.model.setToday(TodaySummary{5});
        s.model.setRevenue(Money{1000, "USD"});
        s.model.show(moment("Sale"));
        s.clock.advance(1000ms);
        s.model.setToday(TodaySummary{6});
        s.model.setRevenue(Money{2200, "USD"});
        s.clock.advance(4340ms);
        QCOMPARE(s.model.shownTotal(), 5);
        QCOMPARE(s.model.shownRevenue(), (Money{1000, "USD"}));
        s.clock.advance(10ms); // 5.35 s after the moment began
        QCOMPARE(s.model.shownTotal(), 6);
        QCOMPARE(s.model.shownRevenue(), (Money{2200, "USD"}));
        QCOMPARE(s.model.animation(), Springs::numbers);

        s.clock.advance(6s);
        s.model.setToday(std::nullopt); // at rest, the shown figures follow at once
        s.model.setRevenue(std::nullopt);
        QVERIFY(!s.model.shownTotal() && !s.model.shownRevenue());
        QVERIFY(s.model.property("shownTotal").isNull());
    }

    void interactionsOnlyWhereAllowed()
    {
        Setup s;
        s.model.collapse(); // nothing to close at rest
        s.model.setHovering(true);
        QCOMPARE(s.model.animation(), Springs::hover);

        s.model.show(moment("Playing"));
        QVERIFY(!s.model.hovering()); // the moment takes the pointer's place
        s.model.expand();             // not while the moment plays
        s.clock.advance(5000ms);
        s.model.setHovering(true);
        s.model.expand();
        s.model.expand();
        QVERIFY(!s.model.hovering());
        s.model.setShowTop(true);
        s.model.openShare();
        QVERIFY(!s.model.showTop());
        s.model.collapse();
        s.clock.advance(7s);
        QCOMPARE(s.steps,
                 (QStringList{"Moment/momentIn@0", "Afterglow/settle@5000", "Expanded/expand@5000",
                              "Share/share@5000", "Rest/collapse@5000"}));
        QCOMPARE(s.closed, 1);
        QVERIFY(!s.model.busy());
    }

    // The layout by its invariants, not its figures: the island always holds
    // the notch and is exactly the notch when hidden; hovering grows it; each
    // opening is larger than the one before; a change of what sizes it is
    // announced.
    void islandInvariants()
    {
        Setup s;
        QSignalSpy island(&s.model, &NotchModel::islandChanged);
        s.model.setNotch(QSizeF(200, 32));
        s.model.setHasAccounts(true);
        s.model.setRestStyle(RestStyle::Hidden);
        QCOMPARE(island.size(), 3);
        QCOMPARE(s.model.islandSize(), QSizeF(200, 32));
        const auto larger = [](QSizeF big, QSizeF small) {
            return big.width() > small.width() && big.height() > small.height();
        };
        QList<QSizeF> sizes;
        for (RestStyle style : {RestStyle::Total, RestStyle::Dot, RestStyle::Hidden}) {
            s.model.setRestStyle(style);
            const QSizeF still = s.model.islandSize();
            const qreal corner = s.model.radius();
            s.model.setHovering(true);
            QVERIFY(larger(s.model.islandSize(), still));
            QVERIFY(s.model.radius() > corner);
            s.model.setHovering(false);
            QVERIFY(still.width() >= 200 && still.height() >= 32);
            sizes << still;
        }
        s.model.show(moment("Wide"));
        sizes << s.model.islandSize();
        s.clock.advance(5000ms);
        s.model.expand();
        sizes << s.model.islandSize();
        s.model.openShare();
        sizes << s.model.islandSize();
        QVERIFY(larger(sizes[3], sizes[0])); // a moment outgrows the widest rest
        QVERIFY(larger(sizes[4], sizes[3]));
        QVERIFY(larger(sizes[5], sizes[4]));
    }

    void restStylePreference_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<RestStyle>("style");
        QTest::newRow("nothing") << QVariant() << RestStyle::Total;
        QTest::newRow("dot") << QVariant("dot") << RestStyle::Dot;
        QTest::newRow("wrong case") << QVariant("Dot") << RestStyle::Total;
        QTest::newRow("wrong type") << QVariant(QVariantList{"dot"}) << RestStyle::Total;
    }

    // Stored, then read back from the file as a fresh start would.
    void restStylePreference()
    {
        QFETCH(QVariant, stored);
        Setup s;
        if (stored.isValid())
            s.settings.setValue("restStyle", stored);
        s.settings.sync();
        QSettings reread(s.settings.fileName(), QSettings::IniFormat);
        QTEST(NotchModel(reread, s.clock, s.chime).restStyle(), "style");
    }

    void accentFollowsTheTab()
    {
        Setup s;
        Account gumroad;
        gumroad.platform = Platform::Gumroad;
        s.model.setAccounts({gumroad});
        QSignalSpy accent(&s.model, &NotchModel::accentChanged);
        s.model.setTab("framer");
        QCOMPARE(s.model.accentHex(), "#ffe03a"); // no summary yet
        s.model.setToday(TodaySummary{1});
        QCOMPARE(s.model.accentHex(), "#1e8bff");
        s.model.setSignedIn(false);
        QCOMPARE(s.model.accentHex(), "#ffe03a");
        s.model.setTab(accountKey(gumroad.id));
        QCOMPARE(s.model.accent(), QColor(0xff, 0x5c, 0xcf));
        s.model.setTab("unknown");
        QCOMPARE(s.model.accentHex(), "#ffe03a");
        QCOMPARE(accent.size(), 5);
    }

    void modelGoneWhilePlaying()
    {
        Setup s;
        auto *model = new NotchModel(s.settings, s.clock, s.chime);
        model->show(moment("Gone"));
        delete model;
        s.clock.advance(12s); // the waiting player wakes and stops
        QCOMPARE(s.output.played.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestNotchModel)
#include "tst_notchmodel.moc"
