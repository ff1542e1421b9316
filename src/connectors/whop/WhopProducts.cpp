#include "connectors/whop/WhopProducts.h"

#include "connectors/JsonFields.h"
#include "connectors/SourceCaches.h"
#include "core/Clock.h"
#include "core/Http.h"

#include <QRegularExpression>

namespace WhopProducts {

namespace {

std::optional<QString> productName(const QJsonValue &product)
{
    if (auto title = Json::text(Json::at(product, {QLatin1String("title")})))
        return title;
    return Json::text(Json::at(product, {QLatin1String("name")}));
}

}

// Product ids come from the platform's answer and become a path segment:
// anything but a plain token could point the keyed request at another path,
// so such an id is treated as naming no product.
bool plainToken(const QString &id)
{
    static const QRegularExpression token(QStringLiteral("^[A-Za-z0-9_-]+$"));
    return token.match(id).hasMatch();
}

QCoro::Task<QString> title(SourceContext ctx, std::optional<QString> productId, HttpRequest request,
                           QDateTime until)
{
    if (!productId || !plainToken(*productId))
        co_return fallbackTitle;
    QHash<QString, QString> &names = ctx.caches.whopProductNames;
    if (const auto known = names.constFind(*productId); known != names.cend())
        co_return *known;
    const qint64 left = ctx.clock.now().msecsTo(until);
    if (left <= 0)
        co_return fallbackTitle;
    request.timeout = std::min(request.timeout, std::chrono::milliseconds(left));
    std::optional<QString> name;
    try {
        name = productName(co_await ctx.http.json(std::move(request), Platform::Whop));
    } catch (const Failure &) {
    }
    if (!name)
        co_return fallbackTitle;
    names.insert(*productId, *name);
    co_return *name;
}

}
