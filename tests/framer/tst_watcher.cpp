#include "framer/Watcher.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Changes = QList<Watcher::Change>;
const QDateTime checkedAt(QDate(2026, 12, 5), QTime(6, 56, 57), Qt::UTC);
const QByteArray header("checked_at,template,period,remixes,views,conversions\n");
constexpr qint64 max = std::numeric_limits<qint64>::max();
constexpr auto privateFile = QFile::ReadOwner | QFile::WriteOwner;

FramerRow row(const QString &id, const QString &period, qint64 remixes, qint64 conversions = 0)
{
    return FramerRow{id,         QStringLiteral("Template ") + id, period, remixes, 10 * remixes,
                     conversions};
}

// A settings file and a poll log in a fresh folder, as after an install.
struct Setup {
    QTemporaryDir dir;
    QSettings settings{dir.filePath("settings.ini"), QSettings::IniFormat};
    QString logPath = dir.filePath("Korvanta/framer-polls.csv");
    Watcher w{settings, logPath};

    QByteArray logText() const
    {
        QFile f(logPath);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<no file>");
    }
};

}

class TestWatcher : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void baselineSurvivesRestartUntilReset()
    {
        Setup s;
        QVERIFY(!s.w.hasBaseline());
        QVERIFY(s.w.diff({row("1", "2026-12-04", 4), row("1", "2026-12-05", 50, 9)}).isEmpty());
        QCOMPARE(s.w.diff({row("1", "2026-12-04", 4), row("1", "2026-12-05", 51, 9)}),
                 (Changes{{"Template 1", 1, 0}}));

        // The settings file is the user's only.
        Watcher again(s.settings, s.logPath);
        QCOMPARE(again.counts().value("r|1|2026-12-05"), 51);
        QCOMPARE(again.counts().value("c|1|2026-12-05"), 9);
        QCOMPARE(QFile::permissions(s.settings.fileName()) & 0x7077, privateFile);
        QVERIFY(again.diff({row("1", "2026-12-05", 51, 9)}).isEmpty());

        // A reset forgets the counts, not the log; the next reading is a new baseline.
        again.log({row("1", "d", 5)}, checkedAt);
        again.reset();
        QVERIFY(!again.hasBaseline() && again.counts().isEmpty()
                && !s.settings.contains(Watcher::key));
        QVERIFY(again.diff({row("1", "d", 9)}).isEmpty());
        QVERIFY(s.logText().endsWith(",\"Template 1\",d,5,50,0\n"));
    }

    void momentTexts()
    {
        using C = Watcher::Change;
        const auto moment = [](Changes changes) {
            const auto m = Watcher::momentFor(changes);
            return m ? QStringList{Platforms::rawValue(m->platform), m->kicker, m->title, m->amount}
                           .join(u'|')
                     : QString();
        };
        QCOMPARE(moment({C{"Quill", 3, 0}, C{"Larch", 1, 0}}),
                 "framer|4 new remixes on Framer|Quill + 1 more|+4");
        // Sales outrank remixes: only the sales are counted.
        QCOMPARE(moment({C{"Quill", 2, 0}, C{"Larch", 0, 1}}),
                 "framer|New sale on Framer|Quill + 1 more|+1");
        QCOMPARE(moment({C{"A", 5, 2}, C{"B", 0, 1}, C{"C", 1, 0}}),
                 "framer|3 new sales on Framer|A + 2 more|+3");
        QVERIFY(moment({}).isEmpty() && moment({C{"Zero", 0, 0}}).isEmpty());
    }

    void changesAcrossReadings()
    {
        Setup s;
        s.w.diff({row("a", "d1", 0), row("b", "d1", 0), row("c", "d1", 0)});
        // Largest first, remixes and sales alike.
        QCOMPARE(s.w.diff({row("a", "d1", 1), row("b", "d1", 3), row("c", "d1", 0, 2)}),
                 (Changes{{"Template b", 3, 0}, {"Template c", 0, 2}, {"Template a", 1, 0}}));
        // A count that went down stays at its highest.
        QVERIFY(s.w.diff({row("a", "d1", 0)}).isEmpty());
        QCOMPARE(s.w.diff({row("a", "d1", 2)}), (Changes{{"Template a", 1, 0}}));
        // A new day's first remixes are news; a template's two days add up under the first title
        // seen.
        FramerRow renamed = row("a", "d2", 2);
        renamed.title = "Renamed";
        QCOMPARE(s.w.diff({row("a", "d1", 3), renamed}), (Changes{{"Template a", 3, 0}}));
        // The window moved on: only the days of the reading are kept.
        QCOMPARE(s.w.diff({row("a", "d2", 2), row("b", "d3", 0, 1)}),
                 (Changes{{"Template b", 0, 1}}));
        QStringList keys = s.w.counts().keys();
        keys.sort();
        QCOMPARE(keys, (QStringList{"c|a|d2", "c|b|d3", "r|a|d2", "r|b|d3"}));
    }

    void emptyReadings()
    {
        Setup s;
        s.w.log({}, checkedAt);
        QVERIFY(s.w.diff({}).isEmpty());
        QVERIFY(!Watcher(s.settings, s.logPath)
                     .hasBaseline()); // empty stored counts are none after a restart
        QCOMPARE(s.w.diff({row("1", "d", 2, 1)}), (Changes{{"Template 1", 2, 1}}));
        QVERIFY(s.w.diff({}).isEmpty()); // and prune nothing
        QCOMPARE(s.w.counts().size(), 2);
        QCOMPARE(s.logText(), header);
    }

    void storedCountsOfTheWrongShape_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<int>("loaded"); // 0: no baseline
        QTest::newRow("text") << QVariant("r|1|d=5") << 0;
        QTest::newRow("map with text") << QVariant(QVariantMap{{"r|1|d", 5}, {"c|1|d", "x"}}) << 0;
        QTest::newRow("map with fraction") << QVariant(QVariantMap{{"r|1|d", 1.5}}) << 0;
        QTest::newRow("map of integers")
            << QVariant(QVariantMap{{"r|1|d", qint64(1) << 40}, {"c|1|d", 2}}) << 2;
        QTest::newRow("whole double") << QVariant(QVariantMap{{"r|1|d", 7.0}}) << 1;
    }

    void storedCountsOfTheWrongShape()
    {
        QFETCH(QVariant, stored);
        QFETCH(int, loaded);
        Setup s;
        s.settings.setValue(Watcher::key, stored);
        s.settings.sync();
        QSettings reread(s.settings.fileName(), QSettings::IniFormat);
        Watcher read(reread, s.logPath);
        QCOMPARE(read.hasBaseline(), loaded > 0);
        QCOMPARE(read.counts().size(), loaded);
    }

    void hugeCountsSaturate()
    {
        Setup s;
        s.w.diff({{"1", "Template 1", "d", -10, 0, 0}, {"2", "Template 2", "d", 0, 0, 0}});
        const auto changes =
            s.w.diff({{"1", "Template 1", "d", max, 0, 0}, {"2", "Template 2", "d", max, 0, max}});
        // Both totals saturate, so they tie and keep the reading's order.
        QCOMPARE(changes, (Changes{{"Template 1", max, 0}, {"Template 2", max, max}}));
        QCOMPARE(Watcher::momentFor(changes)->amount, "+9223372036854775807");
        QCOMPARE(Watcher::momentFor({{"A", max, 0}, {"B", max, 0}})->kicker,
                 "9223372036854775807 new remixes on Framer");
    }

    void logLines()
    {
        Setup s;
        QCOMPARE(s.logText(), header);
        QCOMPARE(QFile::permissions(s.logPath) & 0x7077, privateFile);
        const FramerRow quoted{"7", "The \"Best\" Folio, v2", "2026-12-05", 3, 120, 1};
        const FramerRow plain{"8", "Quill — Dark", "2026-12-04", 0, 0, 0};
        // The stamp is written in UTC whatever zone the time came in.
        s.w.log({quoted, plain}, checkedAt.toOffsetFromUtc(2 * 3600));
        s.w.log({plain}, checkedAt.addSecs(120));
        Watcher restarted(s.settings, s.logPath); // finds the file and leaves it alone
        QCOMPARE(s.logText(),
                 header
                     + QStringLiteral(
                           "2026-12-05T06:56:57Z,\"The 'Best' Folio, v2\",2026-12-05,3,120,1\n"
                           "2026-12-05T06:56:57Z,\"Quill — Dark\",2026-12-04,0,0,0\n"
                           "2026-12-05T06:58:57Z,\"Quill — Dark\",2026-12-04,0,0,0\n")
                           .toUtf8());
    }

    void logFailuresAreSilent()
    {
        Setup s;
        // The user deleted the log: lines are lost until the next start makes it again.
        QVERIFY(QFile::remove(s.logPath));
        s.w.log({row("1", "d", 1)}, checkedAt);
        QVERIFY(!QFile::exists(s.logPath));
        Watcher restarted(s.settings, s.logPath);
        QCOMPARE(s.logText(), header);

        // A folder that cannot be made (a file is in the way): still compared.
        QVERIFY(QFile(s.dir.filePath("blocker")).open(QIODevice::WriteOnly));
        QSettings other(s.dir.filePath("other.ini"), QSettings::IniFormat);
        Watcher nowhere(other, s.dir.filePath("blocker/Korvanta/framer-polls.csv"));
        nowhere.log({row("1", "d", 1)}, checkedAt);
        nowhere.diff({row("1", "d", 1)});
        QCOMPARE(nowhere.diff({row("1", "d", 2)}).size(), 1);

        // A log path that is an existing folder: it cannot be written, and is left alone.
        const QString korvanta = QFileInfo(s.logPath).absolutePath();
        const auto folderPermissions = QFile::permissions(s.dir.path());
        Watcher(other, korvanta).log({row("1", "d", 1)}, checkedAt);
        QVERIFY(QFileInfo(korvanta).isDir());
        QCOMPARE(QFile::permissions(s.dir.path()), folderPermissions);
    }
};

QTEST_GUILESS_MAIN(TestWatcher)
#include "tst_watcher.moc"
