#include "framer/FramerSite.h"

namespace FramerSite {

QByteArray userAgent()
{
    return QByteArrayLiteral("Mozilla/5.0 (Macintosh; Intel Mac OS X 10_15_7) AppleWebKit/605.1.15 "
                             "(KHTML, like Gecko) Version/18.0 Safari/605.1.15");
}

QUrl home()
{
    static const QUrl url(QStringLiteral("https://www.framer.com/creators/api/account/"));
    return url;
}

QUrl login()
{
    static const QUrl url(QStringLiteral("https://www.framer.com/login/"));
    return url;
}

bool isPageHost(const QString &host)
{
    return host == QLatin1String(domain) || host == QLatin1String(webHost);
}

bool isInDomain(const QString &host)
{
    const QString lower = host.toLower();
    return lower == QLatin1String(domain)
        || lower.endsWith(QLatin1Char('.') + QLatin1String(domain));
}

}
