#include "moments/TodaySummary.h"

QString TodaySummary::highlight() const
{
    if (top.isEmpty())
        return QStringLiteral("Quiet so far");
    const Template &first = top.first();
    if (first.remixes >= 1)
        return first.title + QStringLiteral(" is your top template");
    if (first.views >= 1)
        return QStringLiteral("No remixes yet · ") + first.title
            + QStringLiteral(" has the most views");
    return QStringLiteral("Quiet so far");
}
