#include "shell/StatusMenu.h"

#include "shell/CheckInterval.h"

#include <QLocale>

namespace StatusMenu {

namespace {

constexpr qsizetype listedTemplates = 8;

MenuItem label(const QString &title)
{
    MenuItem item;
    item.title = title;
    return item;
}

MenuItem separator()
{
    MenuItem item;
    item.kind = MenuItem::Kind::Separator;
    return item;
}

MenuItem command(const QString &title, MenuItem::Command command, QKeySequence shortcut = {})
{
    MenuItem item;
    item.kind = MenuItem::Kind::Command;
    item.title = title;
    item.enabled = true;
    item.command = command;
    item.shortcut = shortcut;
    return item;
}

MenuItem choice(const QString &title, MenuItem::Command what, QVariant value, bool checked)
{
    MenuItem item = command(title, what);
    item.value = std::move(value);
    item.checkable = true;
    item.checked = checked;
    return item;
}

MenuItem submenu(const QString &title, QList<MenuItem> children)
{
    MenuItem item;
    item.kind = MenuItem::Kind::Submenu;
    item.title = title;
    item.enabled = true;
    item.children = std::move(children);
    return item;
}

void addToday(QList<MenuItem> &menu, const QList<FramerStatus::Remixed> &today)
{
    if (today.isEmpty())
        return;
    qint64 total = 0;
    for (const auto &entry : today)
        total += entry.remixes;
    menu.append(separator());
    menu.append(label(QStringLiteral("Today (UTC): %1 ").arg(total)
                      + (total == 1 ? QStringLiteral("remix") : QStringLiteral("remixes"))));
    for (const auto &entry : today.first(std::min(listedTemplates, today.size())))
        menu.append(label(entry.title + QStringLiteral(" · ") + QString::number(entry.remixes)));
}

MenuItem intervals(double current)
{
    QList<MenuItem> items;
    for (const auto &c : CheckInterval::choices())
        items.append(
            choice(c.title, MenuItem::Command::SetInterval, c.seconds, c.seconds == current));
    return submenu(QStringLiteral("Check every"), items);
}

MenuItem restStyles(RestStyle current)
{
    QList<MenuItem> items;
    for (RestStyle style : RestStyles::all())
        items.append(choice(RestStyles::label(style), MenuItem::Command::SetRestStyle,
                            RestStyles::rawValue(style), style == current));
    return submenu(QStringLiteral("Notch at rest"), items);
}

}

QString lastCheckedLabel(const QDateTime &at)
{
    return QStringLiteral("Last checked ")
        + QLocale().toString(at.toLocalTime().time(), QLocale::ShortFormat);
}

QList<MenuItem> build(const State &state)
{
    using C = MenuItem::Command;
    QList<MenuItem> menu{label(QStringLiteral("Korvanta prototype · Framer")),
                         label(state.framer.status)};
    if (state.framer.lastChecked)
        menu.append(label(lastCheckedLabel(*state.framer.lastChecked)));
    addToday(menu, state.framer.today);
    menu.append(separator());
    menu.append(command(QStringLiteral("Settings…"), C::OpenSettings,
                        QKeySequence(QStringLiteral("Ctrl+,"))));
    menu.append(command(QStringLiteral("Check for Updates…"), C::CheckForUpdates));
    menu.append(
        command(QStringLiteral("Check now"), C::CheckNow, QKeySequence(QStringLiteral("Ctrl+R"))));
    menu.append(command(QStringLiteral("Play a demo moment"), C::PlayDemo,
                        QKeySequence(QStringLiteral("Ctrl+D"))));
    menu.append(state.framer.signedIn.value_or(false)
                    ? command(QStringLiteral("Switch Framer account…"), C::SwitchFramer)
                    : command(QStringLiteral("Connect Framer…"), C::ConnectFramer));
    menu.append(intervals(state.interval));
    menu.append(restStyles(state.restStyle));
    menu.append(command(QStringLiteral("Open poll log"), C::OpenPollLog));
    if (state.screen)
        menu.append(label(*state.screen));
    menu.append(separator());
    menu.append(
        command(QStringLiteral("Quit Korvanta"), C::Quit, QKeySequence(QStringLiteral("Ctrl+Q"))));
    return menu;
}

}
