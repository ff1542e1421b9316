#include "connectors/lemonsqueezy/LemonSqueezySource.h"

#include "connectors/BearerGet.h"
#include "connectors/JsonFields.h"
#include "connectors/QueryUrl.h"
#include "connectors/ResumeParts.h"
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

// True when an element of the page was created before `since`: the pages
// after it hold older ones still.
bool reachesBefore(const QJsonArray &data, const QDateTime &since)
{
    for (const QJsonObject &element : Json::objects(data))
        if (const auto at = LemonSqueezyEvents::createdAt(element); at && *at < since)
            return true;
    return false;
}

QString pageToken(int page)
{
    return page > 0 ? QString::number(page) : QString();
}

const QString ordersList = QStringLiteral("orders");
const QString invoicesList = QStringLiteral("invoices");

// The page a list starts at: the first in a new run, the one its token names
// in a run that goes on, nothing when the run already read it to the end.
std::optional<int> startPage(const QString &resume, const QString &list)
{
    if (resume.isEmpty())
        return 1;
    const auto page = ResumeParts::part(resume, list);
    if (!page)
        return std::nullopt;
    return std::max(1, page->toInt());
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

QCoro::Task<Fetched> LemonSqueezySource::fetch(SourceContext ctx, QString secret, Extra,
                                               QUuid account, QDateTime since, QString resume)
{
    // Both lists are newest first; one that stopped at its cap goes on at its
    // next page in the next fetch.
    Fetched events;
    int nextOrders = 0;
    if (const auto first = startPage(resume, ordersList))
        nextOrders = co_await readOrders(ctx, secret, since, account, *first, events);
    int nextInvoices = 0;
    if (const auto first = startPage(resume, invoicesList))
        nextInvoices = co_await readRenewals(ctx, secret, since, account, *first, events);
    events.resume = ResumeParts::join(
        {{ordersList, pageToken(nextOrders)}, {invoicesList, pageToken(nextInvoices)}});
    co_return events;
}

QCoro::Task<int> LemonSqueezySource::readOrders(SourceContext ctx, QString secret, QDateTime since,
                                                QUuid account, int first, QList<SaleEvent> &events)
{
    for (int page = first;; ++page) {
        const QueryItems query{{QStringLiteral("page[size]"), QString::number(pageSize)},
                               {QStringLiteral("page[number]"), QString::number(page)}};
        const QJsonObject body = co_await get(ctx, QStringLiteral("orders"), query, secret);
        const QJsonArray data = Json::array(body.value(QLatin1String("data")));
        const bool reachedOld = appendOrders(data, since, account, events);
        if (reachedOld || data.size() < pageSize)
            co_return 0;
        if (page - first + 1 == orderPageLimit)
            co_return page + 1;
    }
}

QCoro::Task<int> LemonSqueezySource::readRenewals(SourceContext ctx, QString secret,
                                                  QDateTime since, QUuid account, int page,
                                                  QList<SaleEvent> &events)
{
    // Invoices name no product: their subscriptions, included, do.
    QueryItems invoiceQuery{{QStringLiteral("page[size]"), QString::number(pageSize)},
                            {QStringLiteral("include"), QStringLiteral("subscription")}};
    if (page > 1)
        invoiceQuery.append({QStringLiteral("page[number]"), QString::number(page)});
    const QJsonObject invoices =
        co_await get(ctx, QStringLiteral("subscription-invoices"), invoiceQuery, secret);
    const QJsonArray data = Json::array(invoices.value(QLatin1String("data")));
    appendRenewals(invoices, since, account, events);
    co_return data.size() < pageSize || reachesBefore(data, since) ? 0 : page + 1;
}
