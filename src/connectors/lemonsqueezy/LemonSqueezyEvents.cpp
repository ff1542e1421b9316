#include "connectors/lemonsqueezy/LemonSqueezyEvents.h"

#include "connectors/JsonFields.h"
#include "core/Iso.h"

namespace LemonSqueezyEvents {

namespace {

QJsonObject attributes(const QJsonObject &element)
{
    return Json::object(element.value(QLatin1String("attributes")));
}

Money total(const QJsonObject &attributes)
{
    const qint64 minor = Json::wholeNumber(attributes.value(QLatin1String("total"))).value_or(0);
    const QString currency =
        Json::text(attributes.value(QLatin1String("currency"))).value_or(QStringLiteral("USD"));
    return {minor, currency.toUpper()};
}

QString orderTitle(const QJsonObject &attributes)
{
    if (auto name = Json::text(Json::at(
            attributes, {QLatin1String("first_order_item"), QLatin1String("product_name")})))
        return *name;
    const qint64 number =
        Json::wholeNumber(attributes.value(QLatin1String("order_number"))).value_or(0);
    return QStringLiteral("Order #") + QString::number(number);
}

// Invoices carry no product name of their own; the subscription they bill
// does, when it came along in `included`.
QString invoiceTitle(const QJsonObject &element, const QHash<QString, QString> &products)
{
    const QJsonObject a = attributes(element);
    if (const auto own = Json::text(a.value(QLatin1String("product_name"))))
        return *own;
    QJsonValue subscription = a.value(QLatin1String("subscription_id"));
    if (!subscription.isDouble())
        subscription = Json::at(element,
                                {QLatin1String("relationships"), QLatin1String("subscription"),
                                 QLatin1String("data"), QLatin1String("id")});
    const QString key = subscription.isDouble() ? QString::number(subscription.toInteger())
                                                : subscription.toString();
    return products.value(key, QStringLiteral("Subscription renewal"));
}

SaleEvent event(QString id, const QUuid &account, SaleEvent::Kind kind, QString title, Money amount,
                const QDateTime &at)
{
    return {std::move(id),     account, Platform::LemonSqueezy, kind, std::move(title),
            std::move(amount), at};
}

}

std::optional<QDateTime> createdAt(const QJsonObject &element)
{
    if (!Json::text(element.value(QLatin1String("id")))
        || !element.value(QLatin1String("attributes")).isObject())
        return std::nullopt;
    return Iso::date(attributes(element).value(QLatin1String("created_at")));
}

std::optional<SaleEvent> order(const QJsonObject &element, const QDateTime &at,
                               const QUuid &account)
{
    const QJsonObject a = attributes(element);
    const QString status = Json::string(a.value(QLatin1String("status"))).value_or(QString());
    SaleEvent::Kind kind;
    if (status == u"paid")
        kind = SaleEvent::Kind::Sale;
    else if (status == u"failed")
        kind = SaleEvent::Kind::Failed;
    else
        return std::nullopt;
    const QString id = QStringLiteral("o_") + element.value(QLatin1String("id")).toString();
    return event(kind == SaleEvent::Kind::Failed ? SaleEvent::failedId(id) : id, account, kind,
                 orderTitle(a), total(a), at);
}

QHash<QString, QString> subscriptionProducts(const QJsonValue &included)
{
    QHash<QString, QString> names;
    for (const QJsonObject &resource : Json::objects(included)) {
        const auto id = Json::string(resource.value(QLatin1String("id")));
        const auto name = Json::text(
            Json::at(resource.value(QLatin1String("attributes")), {QLatin1String("product_name")}));
        if (resource.value(QLatin1String("type")) == QLatin1String("subscriptions") && id && name)
            names.insert(*id, *name);
    }
    return names;
}

std::optional<SaleEvent> invoice(const QJsonObject &element, const QDateTime &at,
                                 const QUuid &account, const QHash<QString, QString> &products)
{
    const QJsonObject a = attributes(element);
    if (Json::string(a.value(QLatin1String("billing_reason"))) != QStringLiteral("renewal"))
        return std::nullopt;
    const QString status = Json::string(a.value(QLatin1String("status"))).value_or(QString());
    // A pending invoice is still waiting for its payment: nothing has failed yet.
    SaleEvent::Kind kind;
    if (status == u"paid")
        kind = SaleEvent::Kind::Renewal;
    else if (status == u"failed" || status == u"past_due")
        kind = SaleEvent::Kind::Failed;
    else
        return std::nullopt;
    const QString id = QStringLiteral("si_") + element.value(QLatin1String("id")).toString();
    return event(kind == SaleEvent::Kind::Failed ? SaleEvent::failedId(id) : id, account, kind,
                 invoiceTitle(element, products), total(a), at);
}

}
