#pragma once

#include <QByteArray>

// A Chromium command line with one more switch, unless it already names the
// switch: processes the app starts inherit its flags, and a switch the user
// set stays theirs.
inline QByteArray withChromiumFlag(const QByteArray &flags, const QByteArray &flag,
                                   const QByteArray &name = {})
{
    if (flags.contains(name.isEmpty() ? flag : name))
        return flags;
    QByteArray line = flags.trimmed();
    if (!line.isEmpty())
        line += ' ';
    line += flag;
    return line;
}
