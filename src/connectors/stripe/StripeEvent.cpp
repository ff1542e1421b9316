#include "connectors/stripe/StripeEvent.h"

#include "connectors/JsonFields.h"

#include <cmath>

namespace {

const QLatin1String succeeded("charge.succeeded");
const QLatin1String failed("charge.failed");
const QLatin1String refunded("charge.refunded");

std::optional<StripeEvent::Type> typeOf(const QString &type)
{
    if (type == succeeded)
        return StripeEvent::Type::Succeeded;
    if (type == failed)
        return StripeEvent::Type::Failed;
    if (type == refunded)
        return StripeEvent::Type::Refunded;
    return std::nullopt;
}

// Unix seconds, whole or fractional; anything unusable reads as the epoch.
QDateTime unixTime(const QJsonValue &value)
{
    const double seconds = Json::number(value).value_or(0);
    constexpr double latest = 253402300799; // 9999-12-31T23:59:59Z
    const double usable = std::isfinite(seconds) && std::abs(seconds) <= latest ? seconds : 0;
    return QDateTime::fromMSecsSinceEpoch(qint64(std::llround(usable * 1000)), Qt::UTC);
}

qint64 whole(const QJsonObject &object, QLatin1String key)
{
    return Json::wholeNumber(object.value(key)).value_or(0);
}

}

std::optional<StripeEvent> StripeEvent::read(const QJsonObject &event)
{
    // An event without an id could not be told from others like it.
    const auto id = Json::text(event.value(QLatin1String("id")));
    const auto type = Json::string(event.value(QLatin1String("type")));
    const QJsonValue data = event.value(QLatin1String("data"));
    const QJsonValue charge = Json::at(data, {QLatin1String("object")});
    if (!id || !type || !data.isObject() || !charge.isObject())
        return std::nullopt;
    const auto known = typeOf(*type);
    if (!known)
        return std::nullopt;
    return StripeEvent{*id, *known, charge.toObject(),
                       Json::object(Json::at(data, {QLatin1String("previous_attributes")})),
                       unixTime(event.value(QLatin1String("created")))};
}

SaleEvent StripeEvent::toSaleEvent(const QUuid &account, const StripeDescription &description) const
{
    const QString currency = Json::text(charge.value(QLatin1String("currency")))
                                 .value_or(QStringLiteral("usd"))
                                 .toUpper();
    const auto chargeText = Json::string(charge.value(QLatin1String("description")));
    SaleEvent e{id, account, Platform::Stripe, SaleEvent::Kind::Sale, {}, {}, at};
    switch (type) {
    case Type::Succeeded:
        e.kind = description.renewal ? SaleEvent::Kind::Renewal : SaleEvent::Kind::Sale;
        e.id = Json::text(charge.value(QLatin1String("id"))).value_or(id);
        e.title = description.title.value_or(Json::text(charge.value(QLatin1String("description")))
                                                 .value_or(QStringLiteral("Payment")));
        e.amount = Money{whole(charge, QLatin1String("amount")), currency};
        break;
    case Type::Refunded:
        e.kind = SaleEvent::Kind::Refund;
        e.title = chargeText.value_or(QStringLiteral("Refund"));
        e.amount = Money{-refundedNow(), currency};
        break;
    case Type::Failed:
        e.kind = SaleEvent::Kind::Failed;
        e.title = chargeText.value_or(QStringLiteral("Payment failed"));
        e.amount = Money{whole(charge, QLatin1String("amount")), currency};
        break;
    }
    return e;
}

// `amount_refunded` is the charge's running total. A second partial refund
// would count the first one again, so when Stripe tells us the total before
// this event, only the difference is this refund.
qint64 StripeEvent::refundedNow() const
{
    const qint64 total = whole(charge, QLatin1String("amount_refunded"));
    const auto before = Json::wholeNumber(previous.value(QLatin1String("amount_refunded")));
    if (before && *before >= 0 && *before < total)
        return total - *before;
    return total;
}
