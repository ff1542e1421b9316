#include "ui/TodayTab.h"

#include "core/AccountKey.h"

namespace TodayTabs {

QList<TodayTab> tabs(bool framerShown, const QList<Account> &accounts)
{
    QList<TodayTab> list{{QStringLiteral("all"), TodayTab::Kind::All, std::nullopt}};
    if (framerShown)
        list.append({QStringLiteral("framer"), TodayTab::Kind::Framer, std::nullopt});
    for (const Account &account : accounts)
        list.append({accountKey(account.id), TodayTab::Kind::Account, account});
    return list;
}

TodayTab current(const QList<TodayTab> &tabs, const QString &selected)
{
    if (tabs.size() == 1)
        return {QStringLiteral("all"), TodayTab::Kind::None, std::nullopt};
    // With Framer as the only source there is nothing else to sum up.
    if (tabs.size() == 2 && tabs[1].kind == TodayTab::Kind::Framer)
        return tabs[1];
    for (const TodayTab &tab : tabs)
        if (tab.id == selected)
            return tab;
    return tabs.first();
}

}
