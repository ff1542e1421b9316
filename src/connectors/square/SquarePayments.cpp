#include "connectors/square/SquarePayments.h"

#include "connectors/JsonFields.h"
#include "core/Iso.h"
#include "core/MoreTitle.h"

namespace SquarePayments {

namespace {

const QLatin1String completed("COMPLETED");
const QLatin1String failed("FAILED");

QString status(const QJsonObject &payment)
{
    return Json::string(payment.value(QLatin1String("status"))).value_or(QString());
}

QString title(const QJsonObject &payment, const QHash<QString, QString> &titles)
{
    const auto orderId = Json::text(payment.value(QLatin1String("order_id")));
    if (orderId && titles.contains(*orderId))
        return titles.value(*orderId);
    return Json::text(payment.value(QLatin1String("note")))
        .value_or(QStringLiteral("Square payment"));
}

// Square always states an amount; a payment without one counts as zero.
Money amount(const QJsonObject &payment)
{
    QJsonValue money = payment.value(QLatin1String("total_money"));
    if (!money.isObject())
        money = payment.value(QLatin1String("amount_money"));
    if (!money.isObject())
        return Money{0, QStringLiteral("USD")};
    const QJsonObject m = money.toObject();
    return Money{
        Json::wholeNumber(m.value(QLatin1String("amount"))).value_or(0),
        Json::text(m.value(QLatin1String("currency"))).value_or(QStringLiteral("USD")).toUpper()};
}

}

QList<QJsonObject> kept(const QJsonValue &answer)
{
    QList<QJsonObject> list;
    for (const QJsonObject &payment :
         Json::objects(Json::at(answer, {QLatin1String("payments")}))) {
        const QString s = status(payment);
        if (s == completed || s == failed)
            list.append(payment);
    }
    return list;
}

QStringList orderIds(const QList<QJsonObject> &payments)
{
    QStringList ids;
    for (const QJsonObject &payment : payments)
        if (const auto id = Json::text(payment.value(QLatin1String("order_id"))))
            ids.append(*id);
    return ids;
}

QStringList activeLocations(const QJsonValue &answer)
{
    QStringList ids;
    for (const QJsonObject &location :
         Json::objects(Json::at(answer, {QLatin1String("locations")}))) {
        const auto id = Json::text(location.value(QLatin1String("id")));
        const auto status = Json::string(location.value(QLatin1String("status")));
        // An inactive location takes no payments.
        if (id && status.value_or(QStringLiteral("ACTIVE")) == u"ACTIVE")
            ids.append(*id);
    }
    return ids;
}

QHash<QString, QString> orderTitles(const QJsonValue &answer)
{
    QHash<QString, QString> titles;
    for (const QJsonObject &order : Json::objects(Json::at(answer, {QLatin1String("orders")}))) {
        const auto id = Json::text(order.value(QLatin1String("id")));
        if (!id)
            continue;
        QStringList names;
        for (const QJsonObject &item : Json::objects(order.value(QLatin1String("line_items"))))
            if (const auto name = Json::text(item.value(QLatin1String("name"))))
                names.append(*name);
        if (!names.isEmpty())
            titles.insert(*id, moreTitle(names));
    }
    return titles;
}

std::optional<SaleEvent> event(const QJsonObject &payment, const QHash<QString, QString> &titles,
                               const QUuid &account)
{
    const auto id = Json::text(payment.value(QLatin1String("id")));
    const auto at = Iso::date(payment.value(QLatin1String("created_at")));
    if (!id || !at)
        return std::nullopt;
    SaleEvent e;
    e.id = *id;
    e.account = account;
    e.platform = Platform::Square;
    e.kind = status(payment) == failed ? SaleEvent::Kind::Failed : SaleEvent::Kind::Sale;
    e.title = title(payment, titles);
    e.amount = amount(payment);
    e.at = *at;
    return e;
}

}
