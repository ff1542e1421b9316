#include "connectors/stripe/StripeSource.h"

#include "connectors/JsonFields.h"
#include "connectors/stripe/StripeEvent.h"
#include "core/Clock.h"
#include "core/Http.h"

namespace {

const QString typesName = QStringLiteral("types[]");

QueryItems eventQuery(const QDateTime &since)
{
    return {{typesName, QStringLiteral("charge.succeeded")},
            {typesName, QStringLiteral("charge.failed")},
            {typesName, QStringLiteral("charge.refunded")},
            {QStringLiteral("created[gt]"), QString::number(since.toSecsSinceEpoch())},
            {QStringLiteral("limit"), QString::number(StripeSource::pageSize)}};
}

// The id to continue after, or nothing when this page was the last.
std::optional<QString> nextCursor(const QJsonObject &page, const QList<QJsonObject> &events)
{
    if (Json::boolean(page.value(QLatin1String("has_more"))) != true || events.isEmpty())
        return std::nullopt;
    return Json::string(events.last().value(QLatin1String("id")));
}

QString accountName(const QJsonObject &account)
{
    const auto display = Json::string(Json::at(
        account,
        {QLatin1String("settings"), QLatin1String("dashboard"), QLatin1String("display_name")}));
    const auto business =
        Json::string(Json::at(account, {QLatin1String("business_profile"), QLatin1String("name")}));
    return display.value_or(business.value_or(QStringLiteral("Stripe")));
}

}

QUrl StripeSource::base()
{
    return QUrl(QStringLiteral("https://api.stripe.com/v1"));
}

KeyHelp StripeSource::help()
{
    KeyHelp h;
    h.steps = {
        QStringLiteral(
            "In Stripe, open **Developers → API keys** and click **Create restricted key**."),
        QStringLiteral(
            "Name it Korvanta. Set **Charges**, **Checkout Sessions**, **Invoices** and **Events** "
            "to **Read**. Leave everything else as None."),
        QStringLiteral("Click **Create key** and copy it (it starts with `rk_`)."),
        QStringLiteral(
            "If Korvanta says a permission is missing, Stripe names it: set that one to Read too."),
    };
    h.link = QUrl(QStringLiteral("https://dashboard.stripe.com/apikeys/create"));
    h.linkLabel = QStringLiteral("Create a restricted key in Stripe");
    h.fields = {{QStringLiteral("secret"), QStringLiteral("Restricted key"),
                 QStringLiteral("rk_live_…"), true}};
    h.note = QStringLiteral(
        "Read-only, so Korvanta can never move money or change anything. Stripe is checked "
        "every 5 minutes to stay within its free read allowance.");
    return h;
}

QUrl StripeSource::dashboard(const QString &label)
{
    return QUrl(label.contains(u"test mode")
                    ? QStringLiteral("https://dashboard.stripe.com/test/payments")
                    : QStringLiteral("https://dashboard.stripe.com/payments"));
}

QCoro::Task<QJsonObject> StripeSource::get(SourceContext ctx, QString path, QueryItems query,
                                           QString secret, std::chrono::milliseconds limit)
{
    HttpRequest request = Http::request(queryUrl(base(), path, query), secret);
    request.timeout = limit;
    const QJsonValue body = co_await ctx.http.json(std::move(request), Platform::Stripe);
    co_return body.toObject();
}

QCoro::Task<QString> StripeSource::verify(SourceContext ctx, QString secret, Extra)
{
    if (!secret.startsWith(u"rk_") && !secret.startsWith(u"sk_"))
        throw SourceError(QStringLiteral(
            "That doesn't look like a Stripe secret key. Restricted keys start with rk_"));
    // Proves the key is valid and may read events; the body is not needed.
    const QueryItems probe{{QStringLiteral("limit"), QStringLiteral("1")}};
    co_await get(ctx, QStringLiteral("events"), probe, secret);
    QString name = QStringLiteral("Stripe");
    try {
        name = accountName(co_await get(ctx, QStringLiteral("account"), {}, secret));
    } catch (const Failure &) {
        // The account's name is a nicety; a key without that permission still works.
    }
    co_return secret.contains(u"_test_") ? name + QStringLiteral(" (test mode)") : name;
}

QCoro::Task<StripeSource::Log> StripeSource::readEvents(SourceContext ctx, QString secret,
                                                        QDateTime since, QString resume)
{
    // Newest first: a run that stopped at its cap goes on below the last event it read.
    const QueryItems first = eventQuery(since);
    QueryItems query = first;
    if (!resume.isEmpty())
        query.append({QStringLiteral("starting_after"), resume});
    Log log;
    for (int page = 1;; ++page) {
        const QJsonObject body = co_await get(ctx, QStringLiteral("events"), query, secret);
        const QList<QJsonObject> list = Json::objects(body.value(QLatin1String("data")));
        log.events.append(list);
        const auto cursor = nextCursor(body, list);
        if (!cursor)
            co_return log;
        if (page == pageLimit) {
            log.resume = *cursor;
            co_return log;
        }
        query = first;
        query.append({QStringLiteral("starting_after"), *cursor});
    }
}

QCoro::Task<Fetched> StripeSource::fetch(SourceContext ctx, QString secret, Extra, QUuid account,
                                         QDateTime since, QString resume)
{
    const QDateTime stopDescribing = ctx.clock.now().addSecs(describeBudget.count());
    const Log log = co_await readEvents(ctx, secret, since, resume);
    Fetched sales({}, log.resume);
    for (const QJsonObject &raw : log.events) {
        const auto event = StripeEvent::read(raw);
        if (!event)
            continue;
        StripeDescription description;
        if (event->type == StripeEvent::Type::Succeeded)
            description = co_await describe(ctx, event->charge, secret, stopDescribing);
        sales.append(event->toSaleEvent(account, description));
    }
    co_return sales;
}
