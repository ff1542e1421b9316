#include "connectors/shopify/ShopifySource.h"

#include "connectors/shopify/ShopifyHosts.h"
#include "core/SourceError.h"

#include <QRegularExpression>

namespace {

const QString suffix = u'.' + QLatin1String(ShopifyHosts::storeDomain);

// Host names only: anything else ("#", "?", "@", "\", spaces) could make the
// address point somewhere other than the store once a path is appended.
bool isHostName(const QString &host)
{
    static const QRegularExpression labels(QStringLiteral("^[a-z0-9-]+(\\.[a-z0-9-]+)*$"));
    return labels.match(host).hasMatch();
}

SourceError notAStore()
{
    const QString domain = QLatin1String(ShopifyHosts::storeDomain);
    return SourceError(QStringLiteral("Use your store's ") + domain
                       + QStringLiteral(" address, e.g. acme.") + domain);
}

}

QString ShopifySource::shopHost(const Extra &extra)
{
    QString host = extra.value(QStringLiteral("shop")).toLower().trimmed();
    host.remove(QStringLiteral("https://"));
    host.remove(QStringLiteral("http://"));
    host = host.section(u'/', 0, 0);
    if (!host.contains(u'.'))
        host += suffix;
    if (!host.endsWith(suffix) || host.size() <= suffix.size() || !isHostName(host))
        throw notAStore();
    return host;
}

QUrl ShopifySource::dashboard(const Account &account)
{
    try {
        return QUrl(QStringLiteral("https://") + shopHost(account.extra)
                    + QStringLiteral("/admin/orders"));
    } catch (const SourceError &) {
        return {};
    }
}
