#include "ui/TodayFigures.h"

namespace TodayFigures {

QString statusLine(const std::optional<QDateTime> &lastCheck, const QDateTime &now)
{
    if (!lastCheck || !lastCheck->isValid())
        return QStringLiteral("Checking…");
    // A clock set back reads as "just now" rather than a negative age.
    return updatedText(std::max<qint64>(0, lastCheck->secsTo(now)));
}

QString updatedText(qint64 s)
{
    if (s < 60)
        return QStringLiteral("Updated just now");
    if (s <= 600)
        return QStringLiteral("Updated %1 min ago").arg(s / 60);
    // Checks come every few minutes, so anything older is being retried.
    if (s < 3600)
        return QStringLiteral("Last updated %1 min ago · retrying").arg(s / 60);
    if (s < 86400)
        return QStringLiteral("Last updated %1 h ago · retrying").arg(s / 3600);
    return QStringLiteral("Last updated %1 d ago · retrying").arg(s / 86400);
}

}
