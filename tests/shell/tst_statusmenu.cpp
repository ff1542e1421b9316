#include "shell/CheckInterval.h"
#include "shell/StatusMenu.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The titles above the first command, the part that changes with state.
QStringList head(const QList<MenuItem> &menu)
{
    QStringList titles;
    for (const MenuItem &item : menu) {
        if (item.kind == MenuItem::Kind::Command)
            break;
        titles.append(item.kind == MenuItem::Kind::Separator ? QStringLiteral("---") : item.title);
    }
    return titles;
}

const MenuItem *find(const QList<MenuItem> &menu, const QString &title)
{
    for (const MenuItem &item : menu)
        if (item.title == title)
            return &item;
    return nullptr;
}

QStringList checked(const MenuItem &submenu)
{
    QStringList titles;
    for (const MenuItem &item : submenu.children)
        if (item.checked)
            titles.append(item.title);
    return titles;
}

FramerStatus readWith(QList<FramerStatus::Remixed> today)
{
    FramerStatus framer;
    framer.status = "Watching 10 templates";
    framer.lastChecked = QDateTime(QDate(2026, 12, 5), QTime(9, 41));
    framer.signedIn = true;
    framer.today = std::move(today);
    return framer;
}

}

Q_DECLARE_METATYPE(FramerStatus)

class TestStatusMenu : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void stateLines_data()
    {
        QTest::addColumn<FramerStatus>("framer");
        QTest::addColumn<QStringList>("expected");
        const QString last =
            StatusMenu::lastCheckedLabel(QDateTime(QDate(2026, 12, 5), QTime(9, 41)));

        QTest::newRow("before the first read")
            << FramerStatus()
            << QStringList{"Korvanta prototype · Framer", "Not checked yet", "---"};

        QList<FramerStatus::Remixed> ten;
        for (int i = 10; i >= 1; --i)
            ten.append({QStringLiteral("T%1").arg(i), i});
        QStringList listed{"Korvanta prototype · Framer", "Watching 10 templates", last, "---",
                           "Today (UTC): 55 remixes"};
        for (int i = 10; i >= 3; --i)
            listed.append(QStringLiteral("T%1 · %1").arg(i));
        QTest::newRow("ten remixed templates") << readWith(ten) << (listed << "---");

        QTest::newRow("one remix") << readWith({{"Quill", 1}})
                                   << QStringList{"Korvanta prototype · Framer",
                                                  "Watching 10 templates",
                                                  last,
                                                  "---",
                                                  "Today (UTC): 1 remix",
                                                  "Quill · 1",
                                                  "---"};
        QTest::newRow("read, nothing remixed")
            << readWith({})
            << QStringList{"Korvanta prototype · Framer", "Watching 10 templates", last, "---"};
    }

    void stateLines()
    {
        QFETCH(FramerStatus, framer);
        QFETCH(QStringList, expected);
        const QList<MenuItem> menu = StatusMenu::build({framer, 120, RestStyle::Total, {}});
        QCOMPARE(head(menu), expected);
        for (const MenuItem &item : menu)
            if (item.kind == MenuItem::Kind::Label)
                QVERIFY(!item.enabled);
    }

    void commands()
    {
        QTemporaryDir dir;
        QSettings settings(dir.filePath("k.conf"), QSettings::IniFormat);
        settings.setValue("interval", 0);
        FramerStatus signedOut;
        signedOut.signedIn = false;
        const QList<MenuItem> menu = StatusMenu::build(
            {signedOut, CheckInterval::effective(settings), RestStyle::Dot, "HDMI-1 · 185 × 32"});

        QStringList titles;
        for (const MenuItem &item : menu.mid(head(menu).size()))
            titles.append(item.kind == MenuItem::Kind::Separator ? "---" : item.title);
        QCOMPARE(titles,
                 (QStringList{"Settings…", "Check for Updates…", "Check now", "Play a demo moment",
                              "Connect Framer…", "Check every", "Notch at rest", "Open poll log",
                              "HDMI-1 · 185 × 32", "---", "Quit Korvanta"}));
        QCOMPARE(find(menu, "Settings…")->shortcut, QKeySequence("Ctrl+,"));
        QCOMPARE(find(menu, "Check now")->shortcut, QKeySequence("Ctrl+R"));
        QCOMPARE(find(menu, "Play a demo moment")->shortcut, QKeySequence("Ctrl+D"));
        QCOMPARE(find(menu, "Quit Korvanta")->shortcut, QKeySequence("Ctrl+Q"));
        QVERIFY(find(menu, "Check for Updates…")->shortcut.isEmpty());
        QCOMPARE(checked(*find(menu, "Check every")), QStringList{"2 minutes"});
        QCOMPARE(checked(*find(menu, "Notch at rest")), QStringList{"Dot"});
        QCOMPARE(find(menu, "Check every")->children.at(2).value.toDouble(), 300);
        QCOMPARE(find(menu, "Notch at rest")->children.at(2).value.toString(), "total");
        QVERIFY(!find(menu, "HDMI-1 · 185 × 32")->enabled);

        const QList<MenuItem> signedIn =
            StatusMenu::build({readWith({}), 300, RestStyle::Total, std::nullopt});
        QVERIFY(find(signedIn, "Switch Framer account…"));
        QVERIFY(!find(signedIn, "Connect Framer…"));
        QCOMPARE(checked(*find(signedIn, "Check every")), QStringList{"5 minutes"});
        QCOMPARE(signedIn.at(signedIn.size() - 3).title, "Open poll log"); // no screen line
    }
};

QTEST_GUILESS_MAIN(TestStatusMenu)
#include "tst_statusmenu.moc"
