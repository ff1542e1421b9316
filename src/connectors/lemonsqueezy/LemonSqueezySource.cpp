#include "connectors/lemonsqueezy/LemonSqueezySource.h"

#include "connectors/BearerGet.h"
#include "connectors/JsonFields.h"
#include "connectors/QueryUrl.h"
#include "connectors/lemonsqueezy/LemonSqueezyEvents.h"
#include "core/SourceError.h"

namespace {

QCoro::Task<QJsonObject> get(SourceContext ctx, QString path, QueryItems query, QString secret)
{
    return bearerGet(ctx, Platform::LemonSqueezy, queryUrl(LemonSqueezySource::base(), path, query),
                     secret, {{"Accept", "application/vnd.api+json"}});
}

// Appends the page's paid and failed orders; true once an order older than
// `since` shows that the rest of the list is old too.
bool appendOrders(const QJsonArray &data, const QDateTime &since, const QUuid &account,
                  QList<SaleEvent> &events)
{
    bool reachedOld = false;
    for (const QJsonObject &element : Json::objects(data)) {
        const auto at = LemonSqueezyEvents::createdAt(element);
        if (!at)
            continue;
        if (*at < since) {
            reachedOld = true;
            continue;
        }
        if (auto event = LemonSqueezyEvents::order(element, *at, account))
            events.append(*event);
    }
    return reachedOld;
}

void appendRenewals(const QJsonObject &page, const QDateTime &since, const QUuid &account,
                    QList<SaleEvent> &events)
{
    const auto products =
        LemonSqueezyEvents::subscriptionProducts(page.value(QLatin1String("included")));
    for (const QJsonObject &element : Json::objects(page.value(QLatin1String("data")))) {
        const auto at = LemonSqueezyEvents::createdAt(element);
        if (!at || *at < since)
            continue;
        if (auto event = LemonSqueezyEvents::invoice(element, *at, account, products))
            events.append(*event);
    }
}

}

QUrl LemonSqueezySource::base()
{
    return QUrl(QStringLiteral("https://api.lemonsqueezy.com/v1/"));
}

KeyHelp LemonSqueezySource::help()
{
    KeyHelp help;
    help.steps = {
        QStringLiteral("In Lemon Squeezy, open **Settings → API**."),
        QStringLiteral("Click the **+** button, name the key Korvanta and create it."),
        QStringLiteral("Copy the key (it's shown once) and paste it below."),
        QStringLiteral(
            "To try Korvanta with test orders, make the key while your store is in test mode."),
    };
    help.link = QUrl(QStringLiteral("https://app.lemonsqueezy.com/settings/api"));
    help.linkLabel = QStringLiteral("Open Lemon Squeezy API settings");
    help.fields = {{QStringLiteral("secret"), QStringLiteral("API key"),
                    QStringLiteral("Paste the API key"), true}};
    help.note = QStringLiteral(
        "Korvanta only reads orders and subscription invoices. Lemon Squeezy keys expire after a year.");
    return help;
}

QUrl LemonSqueezySource::dashboard()
{
    return QUrl(QStringLiteral("https://app.lemonsqueezy.com/orders"));
}

QCoro::Task<QString> LemonSqueezySource::verify(SourceContext ctx, QString secret, Extra)
{
    // This request proves the key; its errors reach the connect form.
    const QJsonObject me = co_await get(ctx, QStringLiteral("users/me"), {}, secret);
    const auto userName = Json::text(
        Json::at(me, {QLatin1String("data"), QLatin1String("attributes"), QLatin1String("name")}));

    // The store's name is only nicer; failing to read it costs nothing.
    std::optional<QString> storeName;
    try {
        const QJsonObject stores = co_await get(ctx, QStringLiteral("stores"), {}, secret);
        const QJsonValue first = Json::array(stores.value(QLatin1String("data"))).at(0);
        storeName =
            Json::text(Json::at(first, {QLatin1String("attributes"), QLatin1String("name")}));
    } catch (const Failure &) {
    }
    co_return storeName.value_or(userName.value_or(QStringLiteral("Lemon Squeezy")));
}

QCoro::Task<QList<SaleEvent>> LemonSqueezySource::fetch(SourceContext ctx, QString secret, Extra,
                                                        QUuid account, QDateTime since)
{
    QList<SaleEvent> events;
    for (int page = 1;; ++page) {
        const QueryItems query{{QStringLiteral("page[size]"), QString::number(pageSize)},
                               {QStringLiteral("page[number]"), QString::number(page)}};
        const QJsonObject body = co_await get(ctx, QStringLiteral("orders"), query, secret);
        const QJsonArray data = Json::array(body.value(QLatin1String("data")));
        const bool reachedOld = appendOrders(data, since, account, events);
        if (reachedOld || data.size() < pageSize || page == orderPageLimit)
            break;
    }
    // Invoices name no product: their subscriptions, included, do.
    const QueryItems invoiceQuery{{QStringLiteral("page[size]"), QString::number(pageSize)},
                                  {QStringLiteral("include"), QStringLiteral("subscription")}};
    const QJsonObject invoices =
        co_await get(ctx, QStringLiteral("subscription-invoices"), invoiceQuery, secret);
    appendRenewals(invoices, since, account, events);
    co_return events;
}
