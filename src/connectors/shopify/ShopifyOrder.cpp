#include "connectors/shopify/ShopifyOrder.h"

#include "connectors/JsonFields.h"
#include "connectors/shopify/ShopifyMoney.h"
#include "core/Iso.h"
#include "core/MoreTitle.h"

// Reads through QJsonObject rather than QJsonValue lookups: each of those
// copies the object it looks into, and a fetch maps 200 orders.
namespace {

// The orders query asks for three line items; a longer list is cut to match.
constexpr qsizetype lineItemsRead = 3;

QJsonObject objectAt(const QJsonObject &object, QLatin1String key)
{
    return object.value(key).toObject();
}

QStringList lineItemTitles(const QJsonObject &node)
{
    QStringList titles;
    const QJsonArray edges =
        objectAt(node, QLatin1String("lineItems")).value(QLatin1String("edges")).toArray();
    for (qsizetype i = 0; i < std::min(edges.size(), lineItemsRead); ++i) {
        const QJsonObject item = objectAt(edges.at(i).toObject(), QLatin1String("node"));
        if (const auto title = Json::text(item.value(QLatin1String("title"))))
            titles.append(*title);
    }
    return titles;
}

QString orderTitle(const QJsonObject &node)
{
    const QStringList items = lineItemTitles(node);
    QString title = items.isEmpty()
        ? Json::text(node.value(QLatin1String("name"))).value_or(QStringLiteral("Order"))
        : moreTitle(items);
    if (Json::boolean(node.value(QLatin1String("test"))) == true)
        title += QStringLiteral(" (test)");
    return title;
}

}

std::optional<SaleEvent> shopifyOrderEvent(const QJsonValue &edge, const QUuid &account)
{
    const QJsonObject node = objectAt(edge.toObject(), QLatin1String("node"));
    const auto id = Json::text(node.value(QLatin1String("id")));
    const auto at = Iso::date(node.value(QLatin1String("createdAt")));
    if (!id || !at || node.value(QLatin1String("cancelledAt")).isString())
        return std::nullopt;
    SaleEvent event;
    event.id = *id;
    event.account = account;
    event.platform = Platform::Shopify;
    event.kind = SaleEvent::Kind::Sale;
    event.title = orderTitle(node);
    event.amount = shopifyMoney(
        objectAt(objectAt(node, QLatin1String("totalPriceSet")), QLatin1String("shopMoney")));
    event.at = *at;
    return event;
}
