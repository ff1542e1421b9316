#include "core/Endpoints.h"

#include <QHostAddress>

namespace {

bool isLoopback(const QUrl &origin)
{
    const QString host = origin.host();
    if (host.compare(u"localhost", Qt::CaseInsensitive) == 0)
        return true;
    QHostAddress address;
    return address.setAddress(host) && address.isLoopback();
}

std::optional<QUrl> parseOrigin(const QString &text)
{
    const QUrl origin(text, QUrl::StrictMode);
    const bool schemeOk = origin.scheme() == u"http" || origin.scheme() == u"https";
    const bool bare = origin.path().isEmpty() || origin.path() == u"/";
    if (!origin.isValid() || !schemeOk || origin.host().isEmpty() || !bare || origin.hasQuery()
        || !origin.userInfo().isEmpty() || !isLoopback(origin))
        return std::nullopt;
    return origin;
}

}

std::variant<Endpoints, QString> Endpoints::parse(const QString &text)
{
    Endpoints endpoints;
    for (const QString &raw : text.split(u',', Qt::SkipEmptyParts)) {
        const QString pair = raw.trimmed();
        const qsizetype eq = pair.indexOf(u'=');
        const QString host = eq > 0 ? pair.left(eq).trimmed().toLower() : QString();
        const auto origin = eq > 0 ? parseOrigin(pair.mid(eq + 1).trimmed()) : std::nullopt;
        if (host.isEmpty() || !origin)
            return QStringLiteral("KORVANTA_ENDPOINTS entry \"%1\" is not HOST=ORIGIN with an "
                                  "http or https origin on a loopback address.")
                .arg(pair);
        endpoints.m_origins.insert(host, *origin);
    }
    return endpoints;
}

Endpoints::Route Endpoints::route(const QUrl &url) const
{
    const QString host = url.host().toLower();
    auto it = m_origins.constFind(host);
    if (it == m_origins.cend())
        it = m_origins.constFind(QStringLiteral("*"));
    if (it == m_origins.cend())
        return {url, {}};
    QUrl target = url;
    target.setScheme(it->scheme());
    target.setHost(it->host());
    target.setPort(it->port());
    return {target, host.toUtf8()};
}
