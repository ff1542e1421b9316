#pragma once

#include "shell/MenuItem.h"

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>
#include <functional>

// The icon in the panel's tray (StatusNotifierItem where the desktop offers
// it, XEmbed otherwise) and its menu, rebuilt from `items` every time it
// is about to open. Chosen commands come out of `commanded`.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    using Items = std::function<QList<MenuItem>()>;

    TrayIcon(const QIcon &icon, Items items, QObject *parent = nullptr);

    void show() { m_tray.show(); }
    QMenu &menu() { return m_menu; }
    QSystemTrayIcon &tray() { return m_tray; }

Q_SIGNALS:
    void commanded(MenuItem::Command command, const QVariant &value);

private:
    void rebuild();
    void fill(QMenu &menu, const QList<MenuItem> &items);
    void addCommand(QMenu &menu, const MenuItem &item);

    Items m_items;
    QMenu m_menu;
    QSystemTrayIcon m_tray;
};
