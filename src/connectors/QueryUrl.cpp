#include "connectors/QueryUrl.h"

QUrl queryUrl(const QUrl &base, const QString &path, const QueryItems &items)
{
    QUrl url = base;
    QString joined = base.path();
    if (!path.isEmpty()) {
        if (!joined.endsWith(u'/'))
            joined += u'/';
        joined += path.startsWith(u'/') ? path.mid(1) : path;
    }
    url.setPath(joined);
    if (items.isEmpty())
        return url;
    QByteArray query;
    for (const auto &[name, value] : items) {
        if (!query.isEmpty())
            query += '&';
        query += QUrl::toPercentEncoding(name, "[]") + '=' + QUrl::toPercentEncoding(value);
    }
    url.setQuery(QString::fromLatin1(query), QUrl::StrictMode);
    return url;
}
