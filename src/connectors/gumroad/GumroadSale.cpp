#include "connectors/gumroad/GumroadSale.h"

#include "connectors/JsonFields.h"
#include "core/Iso.h"

#include <cmath>

namespace {

// Minor units; a fraction is cut off. A price no 64-bit count can hold is
// treated as absent rather than wrapped around.
qint64 minorUnits(const QJsonValue &price)
{
    if (const auto exact = Json::wholeNumber(price))
        return *exact;
    const double value = Json::number(price).value_or(0);
    if (!std::isfinite(value) || std::abs(value) >= 9.2e18)
        return 0;
    return qint64(std::trunc(value));
}

}

namespace GumroadSale {

Read read(const QJsonObject &sale, const QUuid &account, const QDateTime &since)
{
    // An empty id would make distinct sales look like one and hide them.
    const auto id = Json::text(sale.value(QLatin1String("id")));
    const auto at = id ? Iso::date(sale.value(QLatin1String("created_at"))) : std::nullopt;
    if (!id || !at)
        return {};
    if (*at < since)
        return {std::nullopt, true};
    const QString currency =
        Json::text(sale.value(QLatin1String("currency"))).value_or(QStringLiteral("usd")).toUpper();
    SaleEvent e;
    e.id = *id;
    e.account = account;
    e.platform = Platform::Gumroad;
    e.kind = SaleEvent::Kind::Sale;
    e.title = Json::string(sale.value(QLatin1String("product_name")))
                  .value_or(QStringLiteral("Gumroad sale"));
    e.amount = Money{minorUnits(sale.value(QLatin1String("price"))), currency};
    e.at = *at;
    return {e, false};
}

}
