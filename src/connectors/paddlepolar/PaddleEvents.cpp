#include "connectors/paddlepolar/PaddleEvents.h"

#include "connectors/JsonFields.h"
#include "core/Iso.h"
#include "core/MoreTitle.h"

namespace PaddleEvents {

namespace {

std::optional<SaleEvent::Kind> kindOf(const QJsonObject &transaction)
{
    const QString status =
        Json::string(transaction.value(QLatin1String("status"))).value_or(QString());
    if (status == u"past_due")
        return SaleEvent::Kind::Failed;
    if (status != u"completed" && status != u"paid")
        return std::nullopt;
    const bool recurring = Json::string(transaction.value(QLatin1String("origin")))
        == QStringLiteral("subscription_recurring");
    return recurring ? SaleEvent::Kind::Renewal : SaleEvent::Kind::Sale;
}

QString title(const QJsonObject &transaction)
{
    const QJsonArray items =
        Json::array(Json::at(transaction, {QLatin1String("details"), QLatin1String("line_items")}));
    return moreTitle(
        Json::text(Json::at(items.at(0), {QLatin1String("product"), QLatin1String("name")}))
            .value_or(QStringLiteral("Paddle sale")),
        items.size());
}

Money amount(const QJsonObject &transaction)
{
    const auto text = Json::string(Json::at(
        transaction,
        {QLatin1String("details"), QLatin1String("totals"), QLatin1String("grand_total")}));
    const qint64 minor = text ? minorUnits(*text).value_or(0) : 0;
    // Upper case, as every connector reports codes: totals compare them exactly.
    const QString currency = Json::text(transaction.value(QLatin1String("currency_code")))
                                 .value_or(QStringLiteral("USD"))
                                 .toUpper();
    return {minor, currency};
}

QDateTime timeOf(const QJsonObject &transaction, const QDateTime &now)
{
    if (auto billed = Iso::date(transaction.value(QLatin1String("billed_at"))))
        return *billed;
    return Iso::date(transaction.value(QLatin1String("created_at"))).value_or(now);
}

}

std::optional<qint64> minorUnits(const QString &text)
{
    const qsizetype start = text.startsWith(u'+') || text.startsWith(u'-') ? 1 : 0;
    if (text.size() == start)
        return std::nullopt;
    for (qsizetype i = start; i < text.size(); ++i)
        if (text[i] < u'0' || text[i] > u'9')
            return std::nullopt;
    bool ok = false;
    const qint64 value = QStringView(text).mid(text.startsWith(u'+') ? 1 : 0).toLongLong(&ok, 10);
    return ok ? std::optional(value) : std::nullopt;
}

std::optional<SaleEvent> transaction(const QJsonObject &transaction, const QUuid &account,
                                     const QDateTime &now)
{
    const auto id = Json::text(transaction.value(QLatin1String("id")));
    const auto kind = kindOf(transaction);
    if (!id || !kind)
        return std::nullopt;
    // Paddle keeps the id when a past-due transaction is paid after all: the
    // failure gets an id of its own, so the payment is still new.
    return SaleEvent{*kind == SaleEvent::Kind::Failed ? SaleEvent::failedId(*id) : *id,
                     account,
                     Platform::Paddle,
                     *kind,
                     title(transaction),
                     amount(transaction),
                     timeOf(transaction, now)};
}

}
