#include "RecordingOutput.h"
#include "core/AccountKey.h"
#include "notch/NotchModel.h"
#include "support/ManualClock.h"

#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace std::chrono_literals;
using Phase = NotchModel::Phase;

namespace {

Moment moment(const QString &title)
{
    return Moment{Platform::Stripe, QStringLiteral("New sale on Stripe"), title, QStringLiteral("+$12")};
}

TodaySummary remixes(qint64 count)
{
    TodaySummary s;
    s.remixes = count;
    return s;
}

// A model on a hand-moved clock that records its phase changes, the spring
// each change asked for and the chimes, all at virtual milliseconds.
struct Setup {
    QTemporaryDir dir;
    QSettings settings{dir.filePath("settings.ini"), QSettings::IniFormat};
    ManualClock clock;
    const QDateTime start = clock.now();
    RecordingOutput output;
    ChimePlayer chime{settings, output};
    NotchModel model{settings, clock, chime};

    struct Step {
        Phase phase;
        qint64 at;
        Spring spring;
    };
    QList<Step> steps;

    Setup()
    {
        output.now = [this] { return elapsed(); };
        QObject::connect(&model, &NotchModel::phaseChanged, [this] {
            steps.append({model.phase(), elapsed(), model.animation()});
        });
    }
    qint64 elapsed() const { return start.msecsTo(clock.now()); }
    QList<std::pair<Phase, qint64>> phases() const
    {
        QList<std::pair<Phase, qint64>> list;
        for (const Step &s : steps)
            list.append({s.phase, s.at});
        return list;
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
        s.model.show(moment("One"));
        s.model.show(moment("Two"));
        s.model.show(moment("Three"));
        QVERIFY(s.model.busy());
        s.clock.advance(30s);

        const QList<std::pair<Phase, qint64>> expected{
            {Phase::Moment, 0},     {Phase::Afterglow, 5000},  {Phase::Moment, 5800}, {Phase::Afterglow, 10800},
            {Phase::Moment, 11600}, {Phase::Afterglow, 16600}, {Phase::Rest, 22600}};
        QCOMPARE(s.phases(), expected);
        QCOMPARE(titles, (QStringList{"One", "Two", "Three"}));
        QCOMPARE(s.output.played.size(), 3); // once per moment, as it opens
        for (int i = 0; i < 3; ++i)
            QCOMPARE(s.output.played.at(i).at, expected.at(2 * i).second);
        QCOMPARE(s.output.played.first().sound.fileName(), "chime.wav");
        QCOMPARE(s.steps.at(0).spring, Springs::momentIn);
        QCOMPARE(s.steps.at(1).spring, Springs::settle);
        QCOMPARE(s.steps.last().spring, Springs::settle);
        QVERIFY(!s.model.busy());
        QVERIFY(s.model.queue().isEmpty());
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
        int closed = 0;
        s.model.onClosed = [&] { ++closed; };
        s.model.expand();
        s.model.show(moment("Waits"));
        QCOMPARE(s.model.phase(), Phase::Expanded);
        s.clock.advance(1810ms);
        QVERIFY(s.output.played.isEmpty());
        s.model.collapse();
        QCOMPARE(closed, 1);
        s.clock.advance(280ms);
        QCOMPARE(s.model.phase(), Phase::Rest);
        s.clock.advance(10ms); // the player looks every 0.3 s
        QCOMPARE(s.model.phase(), Phase::Moment);
        QCOMPARE(s.output.played.size(), 1);
        QCOMPARE(s.output.played.first().at, 2100);

        // Opened during the afterglow: the player leaves the dashboard open.
        s.clock.advance(5000ms + 350ms + 100ms);
        QCOMPARE(s.model.phase(), Phase::Afterglow);
        s.model.expand();
        s.clock.advance(6s);
        QCOMPARE(s.model.phase(), Phase::Expanded);
        QVERIFY(!s.model.busy());
    }

    void restNumbersChangeAfterTheMoment()
    {
        Setup s;
        s.model.setToday(remixes(5));
        s.model.setRevenue(Money{1000, "USD"});
        QCOMPARE(s.model.shownTotal(), 5);
        QCOMPARE(s.model.shownRevenue(), (Money{1000, "USD"}));

        s.model.show(moment("Sale"));
        s.clock.advance(1000ms);
        s.model.setToday(remixes(6));
        s.model.setRevenue(Money{2200, "USD"});
        s.clock.advance(4340ms);
        QCOMPARE(s.model.phase(), Phase::Afterglow);
        QCOMPARE(s.model.shownTotal(), 5);
        QCOMPARE(s.model.shownRevenue(), (Money{1000, "USD"}));
        s.clock.advance(10ms); // 5.35 s after the moment began
        QCOMPARE(s.model.shownTotal(), 6);
        QCOMPARE(s.model.shownRevenue(), (Money{2200, "USD"}));
        QCOMPARE(s.model.animation(), Springs::numbers);

        s.clock.advance(6s);
        QVERIFY(!s.model.busy());
        s.model.setToday(std::nullopt); // at rest, the shown figures follow at once
        s.model.setRevenue(std::nullopt);
        QVERIFY(!s.model.shownTotal());
        QVERIFY(!s.model.shownRevenue());
        QVERIFY(s.model.property("shownTotal").isNull());
    }

    void interactionsOnlyWhereAllowed()
    {
        Setup s;
        int closed = 0;
        s.model.onClosed = [&] { ++closed; };
        s.model.collapse();
        QCOMPARE(closed, 0);
        QVERIFY(s.steps.isEmpty());

        s.model.setHovering(true);
        QCOMPARE(s.model.animation(), Springs::hover);
        QSignalSpy hovers(&s.model, &NotchModel::hoveringChanged);
        s.model.setHovering(true);
        QCOMPARE(hovers.size(), 0);

        s.model.show(moment("Playing"));
        QVERIFY(!s.model.hovering()); // the moment takes the pointer's place
        s.model.expand();
        QCOMPARE(s.model.phase(), Phase::Moment);
        s.clock.advance(5000ms);
        s.model.setHovering(true);
        s.model.expand(); // from the afterglow
        QCOMPARE(s.model.phase(), Phase::Expanded);
        QCOMPARE(s.model.animation(), Springs::expand);
        QVERIFY(!s.model.hovering());
        s.model.expand();
        QCOMPARE(s.steps.size(), 3);

        s.model.setShowTop(true);
        s.model.openShare();
        QCOMPARE(s.model.phase(), Phase::Share);
        QCOMPARE(s.model.animation(), Springs::share);
        QVERIFY(!s.model.showTop());
        s.model.collapse();
        QCOMPARE(s.model.phase(), Phase::Rest);
        QCOMPARE(s.model.animation(), Springs::collapse);
        QCOMPARE(closed, 1);
        s.clock.advance(7s);
        QCOMPARE(s.model.phase(), Phase::Rest);
        QVERIFY(!s.model.busy());
    }

    void islandSizes()
    {
        Setup s;
        s.model.setNotch(QSizeF(200, 32));
        QCOMPARE(s.model.islandSize(), QSizeF(296, 32)); // total, nothing connected
        QCOMPARE(s.model.radius(), 10.0);
        s.model.setHasAccounts(true);
        QCOMPARE(s.model.islandSize(), QSizeF(336, 32));
        s.model.setRestStyle(RestStyle::Dot);
        QCOMPARE(s.model.islandSize(), QSizeF(246, 32));
        s.model.setRestStyle(RestStyle::Hidden);
        QCOMPARE(s.model.islandSize(), QSizeF(200, 32)); // exactly the notch
        s.model.setHovering(true);
        QCOMPARE(s.model.islandSize(), QSizeF(218, 37));
        QCOMPARE(s.model.radius(), 12.0);

        s.model.show(moment("Wide"));
        QCOMPARE(s.model.islandSize(), QSizeF(420, 110));
        QCOMPARE(s.model.radius(), 26.0);
        s.clock.advance(5000ms);
        s.model.setHovering(true);
        QCOMPARE(s.model.islandSize(), QSizeF(354, 37)); // lit wings, hovered
        s.model.expand();
        QCOMPARE(s.model.islandSize(), QSizeF(574, 289));
        QCOMPARE(s.model.radius(), 32.0);
        s.model.setPanelHeight(301);
        QCOMPARE(s.model.islandSize(), QSizeF(574, 333));
        s.model.openShare();
        QCOMPARE(s.model.islandSize(), QSizeF(834, 420));

        s.model.setNotch(QSizeF(300, 16)); // wider notch, shorter bar
        QCOMPARE(s.model.islandSize(), QSizeF(834, 404));
        s.model.collapse();
        QCOMPARE(s.model.radius(), 8.0);
        s.model.show(moment("Wider")); // waits for the player's pause between moments
        QCOMPARE(s.model.phase(), Phase::Rest);
        s.clock.advance(800ms);
        QCOMPARE(s.model.phase(), Phase::Moment);
        QCOMPARE(s.model.islandSize(), QSizeF(500, 94));
        s.clock.advance(12s);
    }

    void restStylePreference()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("settings.ini");
        for (const auto &[stored, style] : QList<std::pair<QVariant, RestStyle>>{
                 {QVariant(), RestStyle::Total}, {"dot", RestStyle::Dot}, {"hidden", RestStyle::Hidden},
                 {"Dot", RestStyle::Total}, {QVariantList{"dot"}, RestStyle::Total}}) {
            QSettings writer(file, QSettings::IniFormat);
            writer.clear();
            if (stored.isValid())
                writer.setValue("restStyle", stored);
            writer.sync();
            ManualClock clock;
            RecordingOutput output;
            QSettings settings(file, QSettings::IniFormat);
            ChimePlayer chime(settings, output);
            NotchModel model(settings, clock, chime);
            QCOMPARE(model.restStyle(), style);
        }

        Setup s;
        QSignalSpy island(&s.model, &NotchModel::islandChanged);
        s.model.setRestStyle(RestStyle::Dot);
        QCOMPARE(s.settings.value("restStyle").toString(), "dot");
        QCOMPARE(island.size(), 1);
        QCOMPARE(s.model.property("restStyle").value<RestStyle>(), RestStyle::Dot);
        QStringList labels;
        for (RestStyle style : RestStyles::all())
            labels << RestStyles::label(style);
        QCOMPARE(labels, (QStringList{"Hidden", "Dot", "Today's total"}));
    }

    void accentFollowsTheTab()
    {
        Setup s;
        Account gumroad;
        gumroad.platform = Platform::Gumroad;
        s.model.setAccounts({gumroad});
        QCOMPARE(s.model.accentHex(), "#ffe03a");
        QSignalSpy accent(&s.model, &NotchModel::accentChanged);
        s.model.setTab("framer");
        QCOMPARE(s.model.accentHex(), "#ffe03a"); // no summary yet
        s.model.setToday(remixes(1));
        QCOMPARE(s.model.accentHex(), "#1e8bff");
        s.model.setSignedIn(false);
        QCOMPARE(s.model.accentHex(), "#ffe03a");
        s.model.setTab(accountKey(gumroad.id));
        QCOMPARE(s.model.accentHex(), "#ff5ccf");
        QCOMPARE(s.model.accent(), QColor(0xff, 0x5c, 0xcf));
        s.model.setTab("unknown");
        QCOMPARE(s.model.accentHex(), "#ffe03a");
        QCOMPARE(accent.size(), 5);
    }

    void viewsReadPlainValues()
    {
        Setup s;
        QVERIFY(s.model.property("moment").isNull());
        QVERIFY(s.model.property("today").isNull());
        QVERIFY(s.model.property("lastError").isNull());
        QVERIFY(!s.model.property("lastCheck").toDateTime().isValid());
        s.model.setLastError(QStringLiteral("Check failed"));
        QCOMPARE(s.model.property("lastError").toString(), "Check failed");
        s.model.show(Moment{Platform::Gumroad, "New sale on Gumroad", "Brushes", "+$5"});
        const QVariantMap m = s.model.property("moment").toMap();
        QCOMPARE(m.value("kicker").toString(), "New sale on Gumroad");
        QCOMPARE(m.value("accentHex").toString(), "#ff5ccf");
        QCOMPARE(s.model.property("phase").value<Phase>(), Phase::Moment);
        const Spring spring = s.model.property("animation").value<Spring>();
        QCOMPARE(spring.response, 0.5);
        QCOMPARE(spring.damping, 0.74);
        s.clock.advance(11s);
    }

    void modelGoneWhilePlaying()
    {
        ManualClock clock;
        QTemporaryDir dir;
        QSettings settings(dir.filePath("settings.ini"), QSettings::IniFormat);
        RecordingOutput output;
        ChimePlayer chime(settings, output);
        auto *model = new NotchModel(settings, clock, chime);
        model->show(moment("Gone"));
        delete model;
        clock.advance(12s); // the waiting player wakes and stops
        QCOMPARE(output.played.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestNotchModel)
#include "tst_notchmodel.moc"
