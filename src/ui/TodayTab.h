#pragma once

#include "core/Account.h"

#include <QList>
#include <QString>
#include <optional>

// One scope of the dashboard: everything together, the Framer Marketplace,
// or one connected account. `None` stands for "nothing connected yet".
struct TodayTab {
    enum class Kind { All, Framer, Account, None };

    QString id;
    Kind kind = Kind::All;
    std::optional<Account> account;
};

namespace TodayTabs {
// "all", then "framer" when signed in with a summary, then one per account.
QList<TodayTab> tabs(bool framerShown, const QList<Account> &accounts);
// The tab the dashboard shows for the selected id.
TodayTab current(const QList<TodayTab> &tabs, const QString &selected);
}
