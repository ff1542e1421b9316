#pragma once

#include <QMap>
#include <QString>

// Test accounts. An account remembers that its key belongs to a platform's
// sandbox as the extra value sandbox = "1"; a key check names a sandbox key
// with "(sandbox)" in its label, which marks accounts stored before the flag.
namespace Sandbox {

inline const QString key = QStringLiteral("sandbox");

inline bool flagged(const QMap<QString, QString> &extra)
{
    return extra.value(key) == u"1";
}

inline bool labelled(const QString &label)
{
    return label.contains(u"(sandbox)");
}

inline QMap<QString, QString> marked(QMap<QString, QString> extra)
{
    extra.insert(key, QStringLiteral("1"));
    return extra;
}

inline bool isTestAccount(const QMap<QString, QString> &extra, const QString &label)
{
    return flagged(extra) || labelled(label);
}

}
