#include "framer/Watcher.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QDateTime checkedAt(QDate(2026, 12, 5), QTime(6, 56, 57), Qt::UTC);

FramerRow row(const QString &id, const QString &period, qint64 remixes, qint64 conversions = 0)
{
    return FramerRow{id, QStringLiteral("Template ") + id, period, remixes, 10 * remixes, conversions};
}

// A settings file and a poll log in a fresh folder, as after an install.
struct Setup {
    QTemporaryDir dir;
    QSettings settings{dir.filePath("settings.ini"), QSettings::IniFormat};
    QString logPath = dir.filePath("Korvanta/framer-polls.csv");

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
    void baselineThenNews()
    {
        Setup s;
        Watcher w(s.settings, s.logPath);
        QVERIFY(!w.hasBaseline());
        QVERIFY(w.diff({row("1", "2026-12-04", 4), row("1", "2026-12-05", 50, 9)}).isEmpty());
        QVERIFY(w.hasBaseline());

        const auto changes = w.diff({row("1", "2026-12-04", 4), row("1", "2026-12-05", 51, 9)});
        QCOMPARE(changes, (QList<Watcher::Change>{{"Template 1", 1, 0}}));
        QCOMPARE(Watcher::momentFor(changes), (Moment{Platform::Framer, "New remix on Framer", "Template 1", "+1"}));

        // The counters survive a restart; the settings file is the user's only.
        Watcher again(s.settings, s.logPath);
        QVERIFY(again.hasBaseline());
        QCOMPARE(again.counts().value("r|1|2026-12-05"), 51);
        QCOMPARE(again.counts().value("c|1|2026-12-05"), 9);
        QCOMPARE(QFile::permissions(s.settings.fileName()) & 0x7077, QFile::ReadOwner | QFile::WriteOwner);
        QVERIFY(again.diff({row("1", "2026-12-05", 51, 9)}).isEmpty());
    }

    void momentTexts()
    {
        using C = Watcher::Change;
        QCOMPARE(Watcher::momentFor({C{"Quill", 3, 0}, C{"Larch", 1, 0}}),
                 (Moment{Platform::Framer, "4 new remixes on Framer", "Quill + 1 more", "+4"}));
        // Sales outrank remixes: only the sales are counted.
        QCOMPARE(Watcher::momentFor({C{"Quill", 2, 0}, C{"Larch", 0, 1}}),
                 (Moment{Platform::Framer, "New sale on Framer", "Quill + 1 more", "+1"}));
        QCOMPARE(Watcher::momentFor({C{"A", 5, 2}, C{"B", 0, 1}, C{"C", 1, 0}}),
                 (Moment{Platform::Framer, "3 new sales on Framer", "A + 2 more", "+3"}));
        QVERIFY(!Watcher::momentFor({}));
        QVERIFY(!Watcher::momentFor({C{"Zero", 0, 0}}));
    }

    void changesLargestFirst()
    {
        Setup s;
        Watcher w(s.settings, s.logPath);
        w.diff({row("a", "d1", 0), row("b", "d1", 0), row("c", "d1", 0)});
        const auto changes = w.diff({row("a", "d1", 1), row("b", "d1", 3), row("c", "d1", 0, 2)});
        QCOMPARE(changes, (QList<Watcher::Change>{{"Template b", 3, 0}, {"Template c", 0, 2}, {"Template a", 1, 0}}));
        QCOMPARE(Watcher::momentFor(changes)->kicker, "2 new sales on Framer");
    }

    void countersNeverGoDown()
    {
        Setup s;
        Watcher w(s.settings, s.logPath);
        w.diff({row("1", "d", 10)});
        QVERIFY(w.diff({row("1", "d", 8)}).isEmpty());
        QCOMPARE(w.counts().value("r|1|d"), 10);
        QCOMPARE(w.diff({row("1", "d", 11)}), (QList<Watcher::Change>{{"Template 1", 1, 0}}));

        // News over a template's two days adds up under the first title seen.
        FramerRow renamed = row("1", "e", 2);
        renamed.title = "Renamed";
        QCOMPARE(w.diff({row("1", "d", 12), renamed}), (QList<Watcher::Change>{{"Template 1", 3, 0}}));
    }

    void newDayAndNewTemplate()
    {
        Setup s;
        Watcher w(s.settings, s.logPath);
        w.diff({row("1", "2026-12-04", 7), row("1", "2026-12-05", 3)});
        // Midnight UTC: the window moves on; the new day's first remixes are news.
        const auto changes = w.diff({row("1", "2026-12-05", 3), row("1", "2026-12-06", 2), row("2", "2026-12-06", 0, 1)});
        QCOMPARE(changes, (QList<Watcher::Change>{{"Template 1", 2, 0}, {"Template 2", 0, 1}}));
        QVERIFY(!w.counts().contains("r|1|2026-12-04"));
        QVERIFY(!w.counts().contains("c|1|2026-12-04"));
        QCOMPARE(w.counts().size(), 6);
    }

    void emptyReadings()
    {
        Setup s;
        {
            Watcher w(s.settings, s.logPath);
            w.log({}, checkedAt);
            QVERIFY(w.diff({}).isEmpty());
            QVERIFY(w.hasBaseline()); // an empty baseline
            QCOMPARE(w.diff({row("1", "d", 2, 1)}), (QList<Watcher::Change>{{"Template 1", 2, 1}}));
            // An empty reading after that prunes nothing.
            QVERIFY(w.diff({}).isEmpty());
            QCOMPARE(w.counts().size(), 2);
        }
        QCOMPARE(s.logText(), QByteArray("checked_at,template,period,remixes,views,conversions\n"));

        Setup fresh;
        Watcher w(fresh.settings, fresh.logPath);
        w.diff({});
        Watcher restarted(fresh.settings, fresh.logPath);
        QVERIFY(!restarted.hasBaseline()); // empty stored counts are no baseline
    }

    void resetStartsOver()
    {
        Setup s;
        Watcher w(s.settings, s.logPath);
        w.log({row("1", "d", 5)}, checkedAt);
        w.diff({row("1", "d", 5)});
        w.reset();
        QVERIFY(!w.hasBaseline());
        QVERIFY(w.counts().isEmpty());
        QVERIFY(!s.settings.contains(Watcher::key));
        QVERIFY(w.diff({row("1", "d", 9)}).isEmpty()); // the new account's baseline
        QVERIFY(s.logText().contains(",\"Template 1\",d,5,50,0\n"));
    }

    void storedCountsOfTheWrongShape_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<int>("loaded"); // -1: no baseline
        QTest::newRow("text") << QVariant("r|1|d=5") << -1;
        QTest::newRow("number") << QVariant(5) << -1;
        QTest::newRow("list") << QVariant(QVariantList{5}) << -1;
        QTest::newRow("map with text") << QVariant(QVariantMap{{"r|1|d", 5}, {"c|1|d", "x"}}) << -1;
        QTest::newRow("map with fraction") << QVariant(QVariantMap{{"r|1|d", 1.5}}) << -1;
        QTest::newRow("map with flag") << QVariant(QVariantMap{{"r|1|d", true}}) << -1;
        QTest::newRow("map of integers") << QVariant(QVariantMap{{"r|1|d", qint64(1) << 40}, {"c|1|d", 2}}) << 2;
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
        Watcher w(reread, s.logPath);
        QCOMPARE(w.hasBaseline(), loaded > 0);
        QCOMPARE(w.counts().size(), std::max(loaded, 0));
    }

    void hugeCountsSaturate()
    {
        const qint64 max = std::numeric_limits<qint64>::max();
        Setup s;
        Watcher w(s.settings, s.logPath);
        w.diff({{"1", "Template 1", "d", -10, 0, 0}, {"2", "Template 2", "d", 0, 0, 0}});
        const auto changes = w.diff({{"1", "Template 1", "d", max, 0, 0}, {"2", "Template 2", "d", max, 0, max}});
        // Both totals saturate, so they tie and keep the reading's order.
        QCOMPARE(changes, (QList<Watcher::Change>{{"Template 1", max, 0}, {"Template 2", max, max}}));
        QCOMPARE(Watcher::momentFor(changes)->amount, "+9223372036854775807");
        QCOMPARE(Watcher::momentFor({{"A", max, 0}, {"B", max, 0}})->kicker,
                 "9223372036854775807 new remixes on Framer");
    }

    void logLines()
    {
        Setup s;
        Watcher w(s.settings, s.logPath);
        QCOMPARE(s.logText(), QByteArray("checked_at,template,period,remixes,views,conversions\n"));
        QCOMPARE(QFile::permissions(s.logPath) & 0x7077, QFile::ReadOwner | QFile::WriteOwner);

        FramerRow quoted{"7", "The \"Best\" Folio, v2", "2026-12-05", 3, 120, 1};
        FramerRow plain{"8", "Quill — Dark", "2026-12-04", 0, 0, 0};
        // The stamp is written in UTC whatever zone the time came in.
        w.log({quoted, plain}, checkedAt.toOffsetFromUtc(2 * 3600));
        w.log({plain}, checkedAt.addSecs(120));
        QCOMPARE(s.logText(), QStringLiteral("checked_at,template,period,remixes,views,conversions\n"
                                             "2026-12-05T06:56:57Z,\"The 'Best' Folio, v2\",2026-12-05,3,120,1\n"
                                             "2026-12-05T06:56:57Z,\"Quill — Dark\",2026-12-04,0,0,0\n"
                                             "2026-12-05T06:58:57Z,\"Quill — Dark\",2026-12-04,0,0,0\n")
                                  .toUtf8());

        // A restart finds the file and leaves it alone.
        Watcher restarted(s.settings, s.logPath);
        QCOMPARE(s.logText().count('\n'), 4);
    }

    void logFailuresAreSilent()
    {
        Setup s;
        {
            // The user deleted the log: lines are lost until the next start.
            Watcher w(s.settings, s.logPath);
            QVERIFY(QFile::remove(s.logPath));
            w.log({row("1", "d", 1)}, checkedAt);
            QVERIFY(!QFile::exists(s.logPath));
            QVERIFY(w.diff({row("1", "d", 1)}).isEmpty());
        }
        Watcher restarted(s.settings, s.logPath);
        QCOMPARE(s.logText(), QByteArray("checked_at,template,period,remixes,views,conversions\n"));

        // A folder that cannot be made (a file is in the way): still compared.
        QFile blocker(s.dir.filePath("blocker"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QSettings other(s.dir.filePath("other.ini"), QSettings::IniFormat);
        Watcher nowhere(other, s.dir.filePath("blocker/Korvanta/framer-polls.csv"));
        nowhere.log({row("1", "d", 1)}, checkedAt);
        nowhere.diff({row("1", "d", 1)});
        QCOMPARE(nowhere.diff({row("1", "d", 2)}).size(), 1);

        // A log path that is a folder cannot be opened for writing.
        const QString korvanta = QFileInfo(s.logPath).absolutePath();
        const auto folderPermissions = QFile::permissions(s.dir.path());
        Watcher folder(other, korvanta);
        folder.log({row("1", "d", 1)}, checkedAt);
        QVERIFY(QFileInfo(korvanta).isDir());
        QCOMPARE(QFile::permissions(s.dir.path()), folderPermissions); // an existing folder is left alone
    }
};

QTEST_GUILESS_MAIN(TestWatcher)
#include "tst_watcher.moc"
