#include "connectors/woocommerce/WooCommerceOrders.h"

#include "connectors/JsonFields.h"
#include "core/Iso.h"
#include "core/MoreTitle.h"

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
    return moreTitle(names);
}

// The GMT fields carry no zone designator; they are UTC.
std::optional<QDateTime> gmtDate(const QJsonObject &order, QLatin1String key)
{
    return Iso::date(Json::string(order.value(key)).value_or(QString()) + u'Z');
}

// A sale happened when it was paid: an order that waited in "pending" for
// days is today's sale once paid today. Failed orders, and orders without a
// payment date, count from their creation.
QDateTime timeOf(const QJsonObject &order, bool failed, const QDateTime &now)
{
    if (!failed)
        if (const auto paid = gmtDate(order, QLatin1String("date_paid_gmt")))
            return *paid;
    return gmtDate(order, QLatin1String("date_created_gmt")).value_or(now);
}

}

std::optional<SaleEvent> event(const QJsonObject &order, const QUuid &account, const QDateTime &now)
{
    const auto id = Json::wholeNumber(order.value(QLatin1String("id")));
    const QString status = Json::string(order.value(QLatin1String("status"))).value_or(QString());
    if (!id || !(saleStatuses.contains(status) || status == failedStatus))
        return std::nullopt;
    const bool failed = status == failedStatus;
    SaleEvent e;
    // A failed order keeps its id when the customer pays it after all; the
    // failure gets an id of its own so that the payment is still new.
    e.id = failed ? SaleEvent::failedId(QString::number(*id)) : QString::number(*id);
    e.account = account;
    e.platform = Platform::WooCommerce;
    e.kind = failed ? SaleEvent::Kind::Failed : SaleEvent::Kind::Sale;
    e.title = title(order, *id);
    e.amount = Money::fromDecimal(
        Json::string(order.value(QLatin1String("total"))).value_or(QStringLiteral("0")),
        Json::text(order.value(QLatin1String("currency"))).value_or(QStringLiteral("USD")));
    e.at = timeOf(order, failed, now);
    return e;
}

}
