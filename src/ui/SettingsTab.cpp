#include "ui/SettingsTab.h"

namespace SettingsTab {

int fromArguments(const QStringList &arguments)
{
    const qsizetype at = arguments.indexOf(QStringLiteral("--settings-tab"));
    if (at < 0 || at + 1 >= arguments.size())
        return 0;
    const QString value = arguments.at(at + 1).trimmed();
    bool ok = false;
    const int n = value.toInt(&ok);
    if (ok)
        return n >= 0 && n < count ? n : 0;
    const QStringList titles{QStringLiteral("general"), QStringLiteral("celebrations"),
                             QStringLiteral("accounts")};
    return std::max<int>(0, int(titles.indexOf(value.toLower())));
}

}
