#include "connectors/ResumeParts.h"

#include <QUrl>

namespace ResumeParts {

QString join(const QList<std::pair<QString, QString>> &parts)
{
    QStringList items;
    for (const auto &[name, token] : parts)
        if (!token.isEmpty())
            items.append(name + u'=' + QString::fromLatin1(QUrl::toPercentEncoding(token)));
    return items.join(u'&');
}

std::optional<QString> part(const QString &token, const QString &name)
{
    for (const QString &item : token.split(u'&', Qt::SkipEmptyParts)) {
        const qsizetype equals = item.indexOf(u'=');
        if (equals > 0 && QStringView(item).left(equals) == name)
            return QUrl::fromPercentEncoding(item.mid(equals + 1).toLatin1());
    }
    return std::nullopt;
}

}
