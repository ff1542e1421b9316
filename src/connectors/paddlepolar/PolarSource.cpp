#include "connectors/paddlepolar/PolarSource.h"

#include "connectors/BearerGet.h"
#include "connectors/JsonFields.h"
#include "connectors/QueryUrl.h"
#include "core/Iso.h"
#include "core/SourceError.h"

namespace {

const QString sandboxKey = QStringLiteral("sandbox");

QCoro::Task<QJsonObject> orders(SourceContext ctx, QUrl base, QueryItems query, QString secret)
{
    return bearerGet(ctx, Platform::Polar, queryUrl(base, QStringLiteral("orders/"), query),
                     secret);
}

// Asks the account's own API first and, when that fails for any reason, the
// sandbox; only the sandbox's error reaches the caller. The flag says which answered.
QCoro::Task<std::pair<QJsonObject, bool>> ordersTryingSandbox(SourceContext ctx, Extra extra,
                                                              QueryItems query, QString secret)
{
    try {
        co_return std::pair(co_await orders(ctx, PolarSource::host(extra), query, secret), false);
    } catch (const Failure &) {
    }
    extra.insert(sandboxKey, QStringLiteral("1"));
    co_return std::pair(co_await orders(ctx, PolarSource::host(extra), query, secret), true);
}

// Whether pages follow this one: the answer's page count says so, or, without
// one, the page is full.
bool hasLaterPage(const QJsonObject &answer, int page, qsizetype items)
{
    const auto maxPage = Json::wholeNumber(
        Json::at(answer, {QLatin1String("pagination"), QLatin1String("max_page")}));
    if (maxPage)
        return *maxPage > page;
    return items >= PolarSource::pageSize;
}

QString titleOf(const QJsonObject &order)
{
    if (auto name = Json::text(Json::at(order, {QLatin1String("product"), QLatin1String("name")})))
        return *name;
    const QJsonValue firstItem = Json::array(order.value(QLatin1String("items"))).at(0);
    return Json::text(Json::at(firstItem, {QLatin1String("label")}))
        .value_or(QStringLiteral("Polar order"));
}

Money amountOf(const QJsonObject &order)
{
    qint64 minor = 0;
    for (const auto key :
         {QLatin1String("total_amount"), QLatin1String("net_amount"), QLatin1String("amount")}) {
        if (auto whole = Json::wholeNumber(order.value(key))) {
            minor = *whole;
            break;
        }
    }
    const QString currency =
        Json::text(order.value(QLatin1String("currency"))).value_or(QStringLiteral("usd"));
    return {minor, currency.toUpper()};
}

std::optional<SaleEvent> eventOf(const QJsonObject &order, const QUuid &account)
{
    const auto id = Json::text(order.value(QLatin1String("id")));
    const auto at = Iso::date(order.value(QLatin1String("created_at")));
    const bool paid = Json::string(order.value(QLatin1String("status"))) == QStringLiteral("paid")
        || order.value(QLatin1String("paid")) == QJsonValue(true);
    if (!id || !at || !paid)
        return std::nullopt;
    // A metered subscription's period closing bills like any other cycle.
    const auto reason = Json::string(order.value(QLatin1String("billing_reason")));
    const bool cycle = reason == QStringLiteral("subscription_cycle")
        || reason == QStringLiteral("subscription_meter_cycle");
    return SaleEvent{*id,
                     account,
                     Platform::Polar,
                     cycle ? SaleEvent::Kind::Renewal : SaleEvent::Kind::Sale,
                     titleOf(order),
                     amountOf(order),
                     *at};
}

// Renewals wait in "pending" while Polar retries their payment, for days if
// need be, and the orders list cannot be filtered by payment time. So the
// recent renewals are read once more, and those created before the cut-off
// but paid since (last changed after it) are reported, dated when paid. The
// window stays inside the time the event store remembers what it has seen,
// so renewals paid on time are never reported twice.
QCoro::Task<QList<SaleEvent>> latePaidRenewals(SourceContext ctx, QUrl base, QString secret,
                                               QUuid account, QDateTime since)
{
    const QueryItems query{
        {QStringLiteral("created_after"), Iso::plain(since.addDays(-PolarSource::lateDays))},
        {QStringLiteral("product_billing_type"), QStringLiteral("recurring")},
        {QStringLiteral("sorting"), QStringLiteral("-created_at")},
        {QStringLiteral("limit"), QString::number(PolarSource::pageSize)}};
    const QJsonObject page = co_await orders(ctx, base, query, secret);
    QList<SaleEvent> events;
    for (const QJsonObject &order : Json::objects(page.value(QLatin1String("items")))) {
        const auto created = Iso::date(order.value(QLatin1String("created_at")));
        const auto changed = Iso::date(order.value(QLatin1String("modified_at")));
        if (!created || *created >= since || !changed || *changed < since
            || order.value(QLatin1String("status")) != QLatin1String("paid"))
            continue;
        if (auto event = eventOf(order, account)) {
            event->at = *changed;
            events.append(*event);
        }
    }
    co_return events;
}

}

QUrl PolarSource::liveBase()
{
    return QUrl(QStringLiteral("https://api.polar.sh/v1/"));
}

QUrl PolarSource::sandboxBase()
{
    return QUrl(QStringLiteral("https://sandbox-api.polar.sh/v1/"));
}

QUrl PolarSource::host(const Extra &extra)
{
    return extra.value(sandboxKey) == u"1" ? sandboxBase() : liveBase();
}

KeyHelp PolarSource::help()
{
    KeyHelp help;
    help.steps = {
        QStringLiteral(
            "In Polar, open your organization's **Settings → Access Tokens** and click **Create token**."),
        QStringLiteral("Name it Korvanta, pick an expiry, and tick only **orders:read**."),
        QStringLiteral("Copy the token (it starts with `polar_oat_`) and paste it below."),
    };
    help.link = QUrl(QStringLiteral("https://polar.sh/dashboard"));
    help.linkLabel = QStringLiteral("Open the Polar dashboard");
    help.fields = {{QStringLiteral("secret"), QStringLiteral("Access token"),
                    QStringLiteral("polar_oat_…"), true}};
    help.note = QStringLiteral("Read-only: Korvanta can only see orders.");
    return help;
}

QUrl PolarSource::dashboard(const Extra &extra, const QString &label)
{
    const bool sandbox =
        extra.value(sandboxKey) == u"1" || label.contains(QLatin1String("(sandbox)"));
    return QUrl(sandbox ? QStringLiteral("https://sandbox.polar.sh/dashboard")
                        : QStringLiteral("https://polar.sh/dashboard"));
}

QCoro::Task<QString> PolarSource::verify(SourceContext ctx, QString secret, Extra extra)
{
    const QueryItems query{{QStringLiteral("limit"), QStringLiteral("1")}};
    const auto answer = co_await ordersTryingSandbox(ctx, extra, query, secret);
    // A sandbox account asks the sandbox first: that answer is the sandbox's too.
    const bool sandbox = answer.second || extra.value(sandboxKey) == u"1";
    co_return sandbox ? QStringLiteral("Polar (sandbox)") : QStringLiteral("Polar");
}

QCoro::Task<Fetched> PolarSource::fetch(SourceContext ctx, QString secret, Extra extra,
                                        QUuid account, QDateTime since, QString resume)
{
    // Newest first, one page a fetch: a run goes on at the next page.
    QueryItems query{{QStringLiteral("created_after"), Iso::plain(since)},
                     {QStringLiteral("sorting"), QStringLiteral("-created_at")},
                     {QStringLiteral("limit"), QString::number(pageSize)}};
    const int page = resume.isEmpty() ? 1 : std::max(1, resume.toInt());
    if (page > 1)
        query.append({QStringLiteral("page"), QString::number(page)});
    const auto answer = co_await ordersTryingSandbox(ctx, extra, query, secret);
    const QList<QJsonObject> items = Json::objects(answer.first.value(QLatin1String("items")));
    Fetched events;
    for (const QJsonObject &order : items)
        if (auto event = eventOf(order, account))
            events.append(*event);
    if (hasLaterPage(answer.first, page, items.size()))
        events.resume = QString::number(page + 1);
    // Once per run: its cut-off stays the same until it ends.
    if (page == 1) {
        const QUrl answered = answer.second ? sandboxBase() : host(extra);
        events.append(co_await latePaidRenewals(ctx, answered, secret, account, since));
    }
    co_return events;
}
