#include "connectors/whop/WhopPayments.h"

#include "connectors/JsonFields.h"
#include "core/Iso.h"

#include <cmath>

namespace WhopPayments {

namespace {

const QLatin1String paid("paid");
const QLatin1String uncollectible("uncollectible");

QString status(const QJsonObject &payment)
{
    return Json::string(payment.value(QLatin1String("status"))).value_or(QString());
}

// Paid when it was paid; created otherwise.
std::optional<QDateTime> time(const QJsonObject &payment)
{
    if (auto at = Iso::date(payment.value(QLatin1String("paid_at"))))
        return at;
    return Iso::date(payment.value(QLatin1String("created_at")));
}

QString paymentCurrency(const QJsonObject &payment)
{
    return Json::text(payment.value(QLatin1String("currency"))).value_or(QStringLiteral("usd"));
}

// Two shapes: the versioned API's {"amount": "19.99", "currency": "eur"},
// and the original one's plain number of major units in the payment's
// currency. The number is written with the currency's digits and read back
// as a decimal, so 19.99 is 1999 cents rather than 1998.99999.
std::optional<Money> amount(const QJsonObject &payment)
{
    const QJsonValue total = payment.value(QLatin1String("total"));
    if (const auto major = Json::number(total)) {
        const QString currency = paymentCurrency(payment).toUpper();
        if (!std::isfinite(*major) || std::abs(*major) >= 1e15)
            return std::nullopt;
        return Money::fromDecimal(QString::number(*major, 'f', Currency::fractionDigits(currency)),
                                  currency);
    }
    const auto decimal = Json::string(Json::at(total, {QLatin1String("amount")}));
    if (!decimal)
        return std::nullopt;
    const auto currency = Json::text(Json::at(total, {QLatin1String("currency")}));
    return Money::fromDecimal(*decimal, currency.value_or(paymentCurrency(payment)));
}

SaleEvent::Kind kind(const QJsonObject &payment)
{
    if (status(payment) == uncollectible)
        return SaleEvent::Kind::Failed;
    if (payment.value(QLatin1String("billing_reason")) == QLatin1String("subscription_cycle"))
        return SaleEvent::Kind::Renewal;
    return SaleEvent::Kind::Sale;
}

}

QList<QJsonObject> all(const QJsonValue &answer)
{
    return Json::objects(Json::at(answer, {QLatin1String("data")}));
}

bool reported(const QJsonObject &payment)
{
    const QString s = status(payment);
    return Json::text(payment.value(QLatin1String("id"))) && time(payment)
        && (s == paid || s == uncollectible);
}

std::optional<QString> productId(const QJsonObject &payment)
{
    if (const auto id = Json::string(payment.value(QLatin1String("product_id"))))
        return id;
    return Json::string(Json::at(payment, {QLatin1String("product"), QLatin1String("id")}));
}

std::optional<QString> productTitle(const QJsonObject &payment)
{
    return Json::text(Json::at(payment, {QLatin1String("product"), QLatin1String("title")}));
}

SaleEvent event(const QJsonObject &payment, const QString &title, const QUuid &account)
{
    SaleEvent e;
    e.kind = kind(payment);
    e.id = payment.value(QLatin1String("id")).toString();
    // An uncollectible payment keeps its id when it is paid after all.
    if (e.kind == SaleEvent::Kind::Failed)
        e.id = SaleEvent::failedId(e.id);
    e.account = account;
    e.platform = Platform::Whop;
    e.title = title;
    e.amount = amount(payment);
    e.at = time(payment).value_or(QDateTime());
    return e;
}

}
