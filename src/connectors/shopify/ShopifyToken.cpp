#include "connectors/shopify/ShopifySource.h"

#include "connectors/JsonFields.h"
#include "connectors/SourceCaches.h"
#include "core/Clock.h"
#include "core/Http.h"

#include <QCryptographicHash>
#include <algorithm>

namespace {

// application/x-www-form-urlencoded, every value fully percent-encoded in
// UTF-8 so that "&", "=" and "+" in a secret arrive as themselves.
QByteArray formBody(const QList<std::pair<QByteArray, QString>> &fields)
{
    QByteArrayList pairs;
    for (const auto &[name, value] : fields)
        pairs.append(name + '=' + QUrl::toPercentEncoding(value));
    return pairs.join('&');
}

HttpRequest exchangeRequest(const QString &host, const QString &clientId, const QString &secret)
{
    QUrl url;
    url.setScheme(QStringLiteral("https"));
    url.setHost(host);
    url.setPath(QStringLiteral("/admin/oauth/access_token"));
    HttpRequest request = Http::request(url);
    request.method = "POST";
    request.setHeader("Content-Type", "application/x-www-form-urlencoded");
    request.body = formBody({{"grant_type", QStringLiteral("client_credentials")},
                             {"client_id", clientId},
                             {"client_secret", secret}});
    return request;
}

// Seconds the token lasts. Bounded, so an absurd answer can neither overflow
// the expiry date nor pin a token for ever.
qint64 lifetime(const QJsonValue &expiresIn)
{
    const auto seconds = Json::number(expiresIn);
    if (!seconds)
        return ShopifySource::defaultTokenLifetime;
    return qint64(std::clamp(*seconds, 0.0, 366.0 * 86400));
}

QString clientIdOf(const Extra &extra)
{
    return extra.value(QStringLiteral("clientId")).trimmed();
}

}

QString ShopifySource::tokenKey(const QString &host, const QString &clientId, const QString &secret)
{
    // The secret belongs in the key: a second account for the same app with
    // a wrong or revoked secret must not ride on the first one's token. Only
    // a digest of it is kept, and only in memory.
    const QByteArray digest = QCryptographicHash::hash(secret.toUtf8(), QCryptographicHash::Sha256);
    return host + clientId + u'#' + QString::fromLatin1(digest.toHex());
}

void ShopifySource::dropToken(SourceContext ctx, const QString &secret, const Extra &extra)
{
    const QString clientId = clientIdOf(extra);
    if (!clientId.isEmpty())
        ctx.caches.shopifyTokens.remove(tokenKey(shopHost(extra), clientId, secret));
}

QCoro::Task<QString> ShopifySource::token(SourceContext ctx, QString secret, Extra extra)
{
    const QString clientId = clientIdOf(extra);
    if (clientId.isEmpty())
        co_return secret; // an older custom app's Admin API token
    const QString host = shopHost(extra);
    const QString key = tokenKey(host, clientId, secret);
    auto &tokens = ctx.caches.shopifyTokens;
    const auto cached = tokens.constFind(key);
    if (cached != tokens.cend() && cached->expiry > ctx.clock.now().addSecs(tokenMarginSeconds))
        co_return cached->accessToken;

    const QJsonValue answer =
        co_await ctx.http.json(exchangeRequest(host, clientId, secret), Platform::Shopify);
    const auto accessToken = Json::text(answer[QLatin1String("access_token")]);
    if (!accessToken)
        throw SourceError(QStringLiteral(
            "Shopify didn't return a token. Check the app is installed on this store"));
    const QDateTime expiry = ctx.clock.now().addSecs(lifetime(answer[QLatin1String("expires_in")]));
    tokens.insert(key, {*accessToken, expiry});
    co_return *accessToken;
}
