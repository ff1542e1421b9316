#include "connectors/woocommerce/WooCommerceOrders.h"

#include "connectors/JsonFields.h"
#include "core/Iso.h"

namespace WooCommerceOrders {

namespace {

const QStringList saleStatuses{QStringLiteral("processing"), QStringLiteral("completed"),
                               QStringLiteral("on-hold")};
const QString failedStatus = QStringLiteral("failed");

// "Tee", "Tee + 2 more", or "Order #1042" when no item has a name.
QString title(const QJsonObject &order, qint64 id)
{
    QStringList names;
    for (const QJsonObject &item : Json::objects(order.value(QLatin1String("line_items"))))
        if (const auto name = Json::text(item.value(QLatin1String("name"))))
            names.append(*name);
    if (names.isEmpty())
        return QStringLiteral("Order #") + QString::number(id);
    if (names.size() == 1)
        return names.first();
    return names.first() + QStringLiteral(" + ") + QString::number(names.size() - 1)
        + QStringLiteral(" more");
}

// The GMT field carries no zone designator; it is UTC.
QDateTime createdAt(const QJsonObject &order, const QDateTime &now)
{
    const QString gmt =
        Json::string(order.value(QLatin1String("date_created_gmt"))).value_or(QString());
    return Iso::date(gmt + u'Z').value_or(now);
}

}

std::optional<SaleEvent> event(const QJsonObject &order, const QUuid &account, const QDateTime &now)
{
    const auto id = Json::wholeNumber(order.value(QLatin1String("id")));
    const QString status = Json::string(order.value(QLatin1String("status"))).value_or(QString());
    if (!id || !(saleStatuses.contains(status) || status == failedStatus))
        return std::nullopt;
    SaleEvent e;
    e.id = QString::number(*id);
    e.account = account;
    e.platform = Platform::WooCommerce;
    e.kind = status == failedStatus ? SaleEvent::Kind::Failed : SaleEvent::Kind::Sale;
    e.title = title(order, *id);
    e.amount = Money::fromDecimal(
        Json::string(order.value(QLatin1String("total"))).value_or(QStringLiteral("0")),
        Json::text(order.value(QLatin1String("currency"))).value_or(QStringLiteral("USD")));
    e.at = createdAt(order, now);
    return e;
}

}
