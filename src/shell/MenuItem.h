#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>
#include <QVariant>

// One entry of the tray menu as a plain value, so the menu's contents are
// decided (and tested) apart from the widgets that show them.
struct MenuItem {
    enum class Kind { Label, Separator, Command, Submenu };
    enum class Command {
        None,
        OpenSettings,
        CheckForUpdates,
        CheckNow,
        PlayDemo,
        ConnectFramer,
        SwitchFramer,
        SetInterval,  // value: seconds
        SetRestStyle, // value: the raw style
        OpenPollLog,
        Quit,
    };

    Kind kind = Kind::Label;
    QString title;
    bool enabled = false;
    QKeySequence shortcut;
    bool checkable = false;
    bool checked = false;
    Command command = Command::None;
    QVariant value;
    QList<MenuItem> children;

    friend bool operator==(const MenuItem &, const MenuItem &) = default;
};
