#include "connectors/shopify/ShopifySource.h"

#include "connectors/JsonFields.h"
#include "connectors/shopify/ShopifyGraphql.h"
#include "connectors/shopify/ShopifyHosts.h"
#include "connectors/shopify/ShopifyOrder.h"
#include "core/Iso.h"
#include "core/SourceError.h"

const QString ShopifySource::verifyQuery = QStringLiteral("{ shop { name myshopifyDomain } }");

const QString ShopifySource::ordersQuery =
    QStringLiteral("query($q: String!, $after: String) {\n"
                   "  orders(first: 50, after: $after, sortKey: CREATED_AT, query: $q) {\n"
                   "    edges { node {\n"
                   "      id name createdAt test cancelledAt\n"
                   "      totalPriceSet { shopMoney { amount currencyCode } }\n"
                   "      lineItems(first: 3) { edges { node { title quantity } } }\n"
                   "    } }\n"
                   "    pageInfo { hasNextPage endCursor }\n"
                   "  }\n"
                   "}");

namespace {

QJsonObject pageVariables(const QString &q, const QJsonValue &after)
{
    return {{QStringLiteral("q"), q}, {QStringLiteral("after"), after}};
}

// The cursor of the next page, when the page says there is one.
std::optional<QString> nextCursor(const QJsonValue &orders)
{
    const QJsonValue pageInfo = orders[QLatin1String("pageInfo")];
    if (Json::boolean(pageInfo[QLatin1String("hasNextPage")]) != true)
        return std::nullopt;
    return Json::text(pageInfo[QLatin1String("endCursor")]);
}

}

KeyHelp ShopifySource::help()
{
    const QString devHost = QLatin1String(ShopifyHosts::devDashboard);
    const QString domain = QLatin1String(ShopifyHosts::storeDomain);
    KeyHelp help;
    help.steps = {
        QStringLiteral("**") + devHost
            + QStringLiteral(
                "** → **Apps** → **Create app**, start from the Dev Dashboard and name it Korvanta."),
        QStringLiteral(
            "On **Versions**, keep the default App URL, tick the **read_orders** scope and click **Release**."),
        QStringLiteral("Click **Install app**, pick your store and click **Install**."),
        QStringLiteral(
            "In the app's **Settings**, copy the **Client ID** and **Client secret** into the fields below."),
        QStringLiteral(
            "Already have an older custom app made in your Shopify admin? Leave Client ID empty and paste "
            "its `shpat_` token as the secret."),
    };
    help.link = QUrl(QStringLiteral("https://") + devHost + QStringLiteral("/dashboard"));
    help.linkLabel = QStringLiteral("Open the Shopify Dev Dashboard");
    help.fields = {
        {QStringLiteral("shop"), QStringLiteral("Store address"),
         QStringLiteral("your-store.") + domain, false},
        {QStringLiteral("clientId"), QStringLiteral("Client ID"),
         QStringLiteral("From the app's Settings"), false},
        {QStringLiteral("secret"), QStringLiteral("Client secret"),
         QStringLiteral("From the app's Settings"), true},
    };
    help.note = QStringLiteral(
        "Read-only: the app can only see orders. Korvanta never changes anything in your store.");
    return help;
}

QCoro::Task<QJsonObject> ShopifySource::graphql(SourceContext ctx, QString query,
                                                QJsonObject variables, QString secret, Extra extra)
{
    QUrl url;
    url.setScheme(QStringLiteral("https"));
    url.setHost(shopHost(extra));
    url.setPath(QStringLiteral("/admin/api/") + QLatin1String(ShopifyHosts::apiVersion)
                + QStringLiteral("/graphql.json"));
    const QString accessToken = co_await token(ctx, secret, extra);
    try {
        co_return co_await shopifyGraphql(ctx.http, url, accessToken, query, variables,
                                          Platform::Shopify);
    } catch (const SourceError &error) {
        // An exchanged token can be revoked before it expires (the app was
        // reinstalled, its secret rotated); a pasted token cannot be renewed.
        if (error.status() != 401 || accessToken == secret)
            throw;
    }
    dropToken(ctx, secret, extra);
    const QString fresh = co_await token(ctx, secret, extra);
    co_return co_await shopifyGraphql(ctx.http, url, fresh, query, variables, Platform::Shopify);
}

QCoro::Task<QString> ShopifySource::verify(SourceContext ctx, QString secret, Extra extra)
{
    const QJsonObject data = co_await graphql(ctx, verifyQuery, {}, secret, extra);
    if (const auto name =
            Json::text(Json::at(data, {QLatin1String("shop"), QLatin1String("name")})))
        co_return *name;
    co_return shopHost(extra);
}

QCoro::Task<Fetched> ShopifySource::fetch(SourceContext ctx, QString secret, Extra extra,
                                          QUuid account, QDateTime since, QString resume)
{
    // Oldest first: a run that stopped at its cap goes on after the last order it read.
    const QString q = QStringLiteral("created_at:>'") + Iso::plain(since) + u'\'';
    QJsonValue after = resume.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(resume);
    Fetched events;
    for (int page = 0;; ++page) {
        if (page == maxPages) {
            events.resume = after.toString();
            break;
        }
        const QJsonObject data =
            co_await graphql(ctx, ordersQuery, pageVariables(q, after), secret, extra);
        const QJsonValue orders = data.value(QLatin1String("orders"));
        if (!orders.isObject())
            break;
        for (const QJsonValue &edge : Json::array(orders[QLatin1String("edges")]))
            if (auto event = shopifyOrderEvent(edge, account))
                events.append(std::move(*event));
        const auto cursor = nextCursor(orders);
        if (!cursor)
            break;
        after = *cursor;
    }
    co_return events;
}
