#pragma once

#include <QString>
#include <QStringList>

// "Tee" for one thing, "Tee + 2 more" for three: how every list of items,
// products or changes is named in a single line.
inline QString moreTitle(const QString &first, qsizetype count)
{
    if (count < 2)
        return first;
    return first + QStringLiteral(" + ") + QString::number(count - 1) + QStringLiteral(" more");
}

// The same for a list of names; nothing when the list is empty.
inline QString moreTitle(const QStringList &names)
{
    return names.isEmpty() ? QString() : moreTitle(names.first(), names.size());
}
