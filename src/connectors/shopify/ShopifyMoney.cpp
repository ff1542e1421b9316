#include "connectors/shopify/ShopifyMoney.h"

#include "connectors/JsonFields.h"

std::optional<Money> shopifyMoney(const QJsonObject &money)
{
    const auto amount = Json::string(money.value(QLatin1String("amount")));
    if (!amount)
        return std::nullopt;
    const QString currency =
        Json::text(money.value(QLatin1String("currencyCode"))).value_or(QStringLiteral("USD"));
    return Money::fromDecimal(*amount, currency);
}
