#include "connectors/whop/WhopProducts.h"

#include "connectors/JsonFields.h"
#include "connectors/QueryUrl.h"
#include "connectors/SourceCaches.h"
#include "core/Http.h"

#include <QRegularExpression>

namespace WhopProducts {

namespace {

// Product ids come from the platform's answer and become a path segment:
// anything but a plain token ("prod_…") could point the keyed request at
// another path, so such an id is treated as naming no product.
bool plainToken(const QString &id)
{
    static const QRegularExpression token(QStringLiteral("^[A-Za-z0-9_-]+$"));
    return token.match(id).hasMatch();
}

std::optional<QString> productName(const QJsonValue &product)
{
    if (auto title = Json::text(Json::at(product, {QLatin1String("title")})))
        return title;
    return Json::text(Json::at(product, {QLatin1String("name")}));
}

}

QCoro::Task<QString> title(SourceContext ctx, QUrl base, QString secret,
                           std::optional<QString> productId)
{
    if (!productId || !plainToken(*productId))
        co_return fallbackTitle;
    QHash<QString, QString> &names = ctx.caches.whopProductNames;
    if (const auto known = names.constFind(*productId); known != names.cend())
        co_return *known;
    std::optional<QString> name;
    try {
        const QUrl url = queryUrl(base, QStringLiteral("products/") + *productId);
        name = productName(co_await ctx.http.json(Http::request(url, secret), Platform::Whop));
    } catch (const Failure &) {
    }
    if (!name)
        co_return fallbackTitle;
    names.insert(*productId, *name);
    co_return *name;
}

}
