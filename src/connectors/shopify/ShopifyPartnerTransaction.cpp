#include "connectors/shopify/ShopifyPartnerTransaction.h"

#include "connectors/JsonFields.h"
#include "connectors/shopify/ShopifyMoney.h"
#include "core/Iso.h"

namespace {

SaleEvent::Kind kindOf(const QString &type)
{
    if (type.endsWith(QLatin1String("Adjustment")))
        return SaleEvent::Kind::Refund;
    if (type == QLatin1String("AppSubscriptionSale"))
        return SaleEvent::Kind::Renewal;
    return SaleEvent::Kind::Sale;
}

std::optional<QString> nameIn(const QJsonObject &node, QLatin1String key)
{
    return Json::text(node.value(key).toObject().value(QLatin1String("name")));
}

QString titleOf(const QJsonObject &node)
{
    if (const auto theme = nameIn(node, QLatin1String("theme")))
        return *theme;
    return nameIn(node, QLatin1String("app")).value_or(QStringLiteral("Shopify sale"));
}

std::optional<Money> amountOf(const QJsonObject &node)
{
    for (const auto key : {QLatin1String("grossAmount"), QLatin1String("netAmount")})
        if (const QJsonValue money = node.value(key); money.isObject())
            return shopifyMoney(money.toObject());
    return std::nullopt;
}

}

std::optional<SaleEvent> shopifyPartnerTransactionEvent(const QJsonValue &edge,
                                                        const QUuid &account)
{
    const QJsonObject node = edge.toObject().value(QLatin1String("node")).toObject();
    const auto id = Json::text(node.value(QLatin1String("id")));
    const auto at = Iso::date(node.value(QLatin1String("createdAt")));
    if (!id || !at)
        return std::nullopt;
    SaleEvent event;
    event.id = *id;
    event.account = account;
    event.platform = Platform::ShopifyPartner;
    event.kind = kindOf(Json::string(node.value(QLatin1String("__typename"))).value_or(QString()));
    event.title = titleOf(node);
    event.amount = amountOf(node);
    event.at = *at;
    return event;
}
