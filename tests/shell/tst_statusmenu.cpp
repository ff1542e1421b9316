#include "shell/StatusMenu.h"

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
    // The lines under the title, "|" between them; LAST stands for the time of the read.
    void stateLines_data()
    {
        QTest::addColumn<FramerStatus>("framer");
        QTest::addColumn<QString>("expected");
        QList<FramerStatus::Remixed> ten;
        for (int i = 10; i >= 1; --i)
            ten.append({QStringLiteral("T%1").arg(i), i});
        QTest::newRow("before the first read") << FramerStatus() << "Not checked yet|---";
        QTest::newRow("ten remixed templates")
            << readWith(ten)
            << "Watching 10 templates|LAST|---|Today (UTC): 55 remixes|T10 · 10|T9 · 9|T8 · 8|"
               "T7 · 7|T6 · 6|T5 · 5|T4 · 4|T3 · 3|---";
        QTest::newRow("one remix") << readWith({{"Quill", 1}})
                                   << "Watching 10 templates|LAST|---|Today (UTC): 1 remix|"
                                      "Quill · 1|---";
        QTest::newRow("read, nothing remixed") << readWith({}) << "Watching 10 templates|LAST|---";
    }

    void stateLines()
    {
        QFETCH(FramerStatus, framer);
        QFETCH(QString, expected);
        const QList<MenuItem> menu = StatusMenu::build({framer, 120, RestStyle::Total, {}});
        const QString last =
            StatusMenu::lastCheckedLabel(QDateTime(QDate(2026, 12, 5), QTime(9, 41)));
        QCOMPARE(head(menu).join('|'),
                 "Korvanta prototype · Framer|" + QString(expected).replace("LAST", last));
        for (const MenuItem &item : menu)
            if (item.kind == MenuItem::Kind::Label)
                QVERIFY(!item.enabled);
    }

    void commands()
    {
        FramerStatus signedOut;
        signedOut.signedIn = false;
        const QList<MenuItem> menu =
            StatusMenu::build({signedOut, 120, RestStyle::Dot, "HDMI-1 · 185 × 32"});

        QStringList titles;
        for (const MenuItem &item : menu.mid(head(menu).size()))
            titles.append(item.kind == MenuItem::Kind::Separator ? "---" : item.title);
        QCOMPARE(titles,
                 (QStringList{"Settings…", "Check for Updates…", "Check now", "Play a demo moment",
                              "Connect Framer…", "Check every", "Notch at rest", "Open poll log",
                              "HDMI-1 · 185 × 32", "---", "Quit Korvanta"}));
        QCOMPARE(checked(*find(menu, "Check every")), QStringList{"2 minutes"});
        QCOMPARE(checked(*find(menu, "Notch at rest")), QStringList{"Dot"});
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
