#pragma once

#include <QStringList>

// The settings window's tabs: 0 General, 1 Celebrations, 2 Accounts.
namespace SettingsTab {
inline constexpr int count = 3;
// The tab after "--settings-tab" (a number or a tab's title), else 0.
int fromArguments(const QStringList &arguments);
}
