#include "framer/FramerWebRoutes.h"

#include "framer/ChromiumFlags.h"
#include "framer/FramerSite.h"

FramerWebRoutes::FramerWebRoutes(const Endpoints &endpoints)
{
    for (const char *host : {FramerSite::webHost, FramerSite::domain}) {
        const QString name = QLatin1String(host);
        const Endpoints::Route route = endpoints.route(QUrl(QStringLiteral("https://") + name));
        // Pages are https: only a TLS origin can stand in for them.
        if (route.forwardedHost.isEmpty() || route.url.scheme() != u"https")
            continue;
        m_targets.insert(name, route.url.host() + u':' + QString::number(route.url.port(443)));
    }
}

QString FramerWebRoutes::hostResolverRules() const
{
    QStringList rules;
    for (auto it = m_targets.cbegin(); it != m_targets.cend(); ++it)
        rules.append(QStringLiteral("MAP %1:443 %2").arg(it.key(), it.value()));
    rules.sort();
    return rules.join(u',');
}

QByteArray FramerWebRoutes::chromiumFlags(const QByteArray &existing) const
{
    if (isEmpty())
        return existing;
    return withChromiumFlag(existing,
                            "--host-resolver-rules=\"" + hostResolverRules().toUtf8() + '"');
}

bool FramerWebRoutes::acceptsCertificateFor(const QString &host) const
{
    return m_targets.contains(host.toLower());
}
