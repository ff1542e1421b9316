#pragma once

#include <QString>
#include <QUuid>

// Every per-account table (seen ids, last poll, keyring item) is keyed by the
// account's UUID in canonical upper-case form without braces.
inline QString accountKey(const QUuid &id)
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}
