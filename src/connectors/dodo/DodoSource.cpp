#include "connectors/dodo/DodoSource.h"

#include "connectors/BearerGet.h"
#include "connectors/JsonFields.h"
#include "connectors/QueryUrl.h"
#include "core/Iso.h"

namespace {

QCoro::Task<QJsonObject> payments(SourceContext ctx, QueryItems query, QString secret)
{
    const QUrl base =
        DodoSource::isTestKey(secret) ? DodoSource::testBase() : DodoSource::liveBase();
    return bearerGet(ctx, Platform::Dodo, queryUrl(base, QStringLiteral("payments"), query),
                     secret);
}

std::optional<SaleEvent::Kind> kindOf(const QString &status, bool subscription)
{
    if (status == u"failed")
        return SaleEvent::Kind::Failed;
    if (status == u"succeeded")
        return subscription ? SaleEvent::Kind::Renewal : SaleEvent::Kind::Sale;
    return std::nullopt;
}

std::optional<SaleEvent> eventOf(const QJsonObject &payment, const QUuid &account)
{
    const auto id = Json::text(payment.value(QLatin1String("payment_id")));
    const auto at = Iso::date(payment.value(QLatin1String("created_at")));
    const bool subscription =
        Json::text(payment.value(QLatin1String("subscription_id"))).has_value();
    const auto kind = kindOf(
        Json::string(payment.value(QLatin1String("status"))).value_or(QString()), subscription);
    if (!id || !at || !kind)
        return std::nullopt;
    const qint64 minor =
        Json::wholeNumber(payment.value(QLatin1String("total_amount"))).value_or(0);
    // Codes are compared exactly when totals are summed: "inr" and "INR" are one currency.
    const QString currency = Json::text(payment.value(QLatin1String("currency")))
                                 .value_or(QStringLiteral("USD"))
                                 .toUpper();
    const QString title =
        subscription ? QStringLiteral("Subscription payment") : QStringLiteral("Payment");
    return SaleEvent{*id, account, Platform::Dodo, *kind, title, Money{minor, currency}, *at};
}

}

QUrl DodoSource::liveBase()
{
    return QUrl(QStringLiteral("https://live.dodopayments.com/"));
}

QUrl DodoSource::testBase()
{
    return QUrl(QStringLiteral("https://test.dodopayments.com/"));
}

bool DodoSource::isTestKey(const QString &secret)
{
    return secret.startsWith(QLatin1String("dodo_test_"));
}

KeyHelp DodoSource::help()
{
    KeyHelp help;
    help.steps = {
        QStringLiteral("In the Dodo Payments dashboard, open **Developer → API Keys**."),
        QStringLiteral("Create a key named Korvanta and copy it."),
        QStringLiteral("Paste it below. Test-mode keys (`dodo_test_`) work too."),
    };
    help.link = dashboard();
    help.linkLabel = QStringLiteral("Open Dodo Payments");
    help.fields = {{QStringLiteral("secret"), QStringLiteral("API key"),
                    QStringLiteral("Paste the API key"), true}};
    help.note = QStringLiteral("Korvanta only lists payments.");
    return help;
}

QUrl DodoSource::dashboard()
{
    return QUrl(QStringLiteral("https://app.dodopayments.com/"));
}

QCoro::Task<QString> DodoSource::verify(SourceContext ctx, QString secret, Extra)
{
    const QueryItems query{{QStringLiteral("page_size"), QStringLiteral("1")}};
    co_await payments(ctx, query, secret);
    co_return isTestKey(secret) ? QStringLiteral("Dodo Payments (test mode)")
                                : QStringLiteral("Dodo Payments");
}

QCoro::Task<Fetched> DodoSource::fetch(SourceContext ctx, QString secret, Extra, QUuid account,
                                       QDateTime since, QString resume)
{
    // Newest first, one page a fetch (pages count from 0): a full page means
    // a run that goes on at the next page.
    QueryItems query{{QStringLiteral("created_at_gte"), Iso::plain(since)},
                     {QStringLiteral("page_size"), QString::number(pageSize)}};
    const int number = std::max(0, resume.toInt());
    if (number > 0)
        query.append({QStringLiteral("page_number"), QString::number(number)});
    const QJsonObject page = co_await payments(ctx, query, secret);
    const QList<QJsonObject> items = Json::objects(page.value(QLatin1String("items")));
    Fetched events;
    for (const QJsonObject &payment : items)
        if (auto event = eventOf(payment, account))
            events.append(*event);
    if (items.size() >= pageSize)
        events.resume = QString::number(number + 1);
    co_return events;
}
