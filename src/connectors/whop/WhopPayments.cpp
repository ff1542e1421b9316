#include "connectors/whop/WhopPayments.h"

#include "connectors/JsonFields.h"
#include "core/Iso.h"

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

std::optional<Money> amount(const QJsonObject &payment)
{
    const QJsonValue total = payment.value(QLatin1String("total"));
    const auto decimal = Json::string(Json::at(total, {QLatin1String("amount")}));
    if (!decimal)
        return std::nullopt;
    auto currency = Json::text(Json::at(total, {QLatin1String("currency")}));
    if (!currency)
        currency = Json::text(payment.value(QLatin1String("currency")));
    return Money::fromDecimal(*decimal, currency.value_or(QStringLiteral("usd")));
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
    return Json::string(payment.value(QLatin1String("product_id")));
}

SaleEvent event(const QJsonObject &payment, const QString &title, const QUuid &account)
{
    SaleEvent e;
    e.id = payment.value(QLatin1String("id")).toString();
    e.account = account;
    e.platform = Platform::Whop;
    e.kind = kind(payment);
    e.title = title;
    e.amount = amount(payment);
    e.at = time(payment).value_or(QDateTime());
    return e;
}

}
