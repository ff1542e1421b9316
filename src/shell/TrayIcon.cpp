#include "shell/TrayIcon.h"

#include <QCursor>

TrayIcon::TrayIcon(const QIcon &icon, Items items, QObject *parent)
    : QObject(parent), m_items(std::move(items))
{
    m_tray.setIcon(icon);
    m_tray.setToolTip(QStringLiteral("Korvanta"));
    m_tray.setContextMenu(&m_menu);
    connect(&m_menu, &QMenu::aboutToShow, this, &TrayIcon::rebuild);
    // Some trays open nothing on a left click; show the same menu there.
    connect(&m_tray, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason why) {
                if (why == QSystemTrayIcon::Trigger && !m_menu.isVisible())
                    m_menu.popup(QCursor::pos());
            });
    rebuild();
}

void TrayIcon::rebuild()
{
    // Submenus are widgets the menu does not delete on clear.
    qDeleteAll(m_menu.findChildren<QMenu *>(Qt::FindDirectChildrenOnly));
    m_menu.clear();
    fill(m_menu, m_items());
}

void TrayIcon::fill(QMenu &menu, const QList<MenuItem> &items)
{
    for (const MenuItem &item : items) {
        switch (item.kind) {
        case MenuItem::Kind::Separator:
            menu.addSeparator();
            break;
        case MenuItem::Kind::Label:
            menu.addAction(item.title)->setEnabled(false);
            break;
        case MenuItem::Kind::Command:
            addCommand(menu, item);
            break;
        case MenuItem::Kind::Submenu: {
            QMenu *sub = menu.addMenu(item.title);
            fill(*sub, item.children);
            break;
        }
        }
    }
}

void TrayIcon::addCommand(QMenu &menu, const MenuItem &item)
{
    QAction *action = menu.addAction(item.title);
    action->setEnabled(item.enabled);
    action->setShortcut(item.shortcut);
    action->setCheckable(item.checkable);
    action->setChecked(item.checked);
    connect(action, &QAction::triggered, this, [this, command = item.command, value = item.value] {
        Q_EMIT commanded(command, value);
    });
}
