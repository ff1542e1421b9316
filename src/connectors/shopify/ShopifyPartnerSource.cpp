#include "connectors/shopify/ShopifyPartnerSource.h"

#include "connectors/JsonFields.h"
#include "connectors/shopify/ShopifyGraphql.h"
#include "connectors/shopify/ShopifyHosts.h"
#include "connectors/shopify/ShopifyPartnerTransaction.h"
#include "core/Iso.h"
#include "core/SourceError.h"

const QString ShopifyPartnerSource::verifyQuery =
    QStringLiteral("{ transactions(first: 1) { edges { node { id } } } }");

const QString ShopifyPartnerSource::transactionsQuery = QStringLiteral(
    "query($since: DateTime!, $after: String) {\n"
    "  transactions(first: 50, after: $after, createdAtMin: $since,\n"
    "               types: [THEME_SALE, THEME_SALE_ADJUSTMENT, APP_SUBSCRIPTION_SALE, APP_ONE_TIME_SALE, "
    "APP_USAGE_SALE, APP_SALE_ADJUSTMENT]) {\n"
    "    edges { cursor node {\n"
    "      id createdAt __typename\n"
    "      ... on ThemeSale { theme { name } grossAmount { amount currencyCode } netAmount { amount currencyCode } }\n"
    "      ... on ThemeSaleAdjustment { theme { name } netAmount { amount currencyCode } }\n"
    "      ... on AppSubscriptionSale { app { name } netAmount { amount currencyCode } }\n"
    "      ... on AppOneTimeSale { app { name } netAmount { amount currencyCode } }\n"
    "      ... on AppUsageSale { app { name } netAmount { amount currencyCode } }\n"
    "      ... on AppSaleAdjustment { app { name } netAmount { amount currencyCode } }\n"
    "    } }\n"
    "    pageInfo { hasNextPage }\n"
    "  }\n"
    "}");

namespace {

QString dashboardRoot()
{
    return QStringLiteral("https://") + QLatin1String(ShopifyHosts::partnerDashboard) + u'/';
}

QJsonObject pageVariables(const QString &since, const QJsonValue &after)
{
    return {{QStringLiteral("since"), since}, {QStringLiteral("after"), after}};
}

// The cursor after which the next page starts, when the page says there is one.
std::optional<QString> nextCursor(const QJsonValue &transactions)
{
    if (Json::boolean(
            Json::at(transactions, {QLatin1String("pageInfo"), QLatin1String("hasNextPage")}))
        != true)
        return std::nullopt;
    const QJsonArray edges = Json::array(transactions[QLatin1String("edges")]);
    if (edges.isEmpty())
        return std::nullopt;
    return Json::text(edges.last()[QLatin1String("cursor")]);
}

}

KeyHelp ShopifyPartnerSource::help()
{
    const QString host = QLatin1String(ShopifyHosts::partnerDashboard);
    KeyHelp help;
    help.steps = {
        QStringLiteral(
            "In the **Dev Dashboard**, open **Organization settings → Users → Security → Partner API clients**."),
        QStringLiteral(
            "Click **Add Partner API client**, name it Korvanta and tick **View financials**."),
        QStringLiteral("Click **Add client** and copy the token (Shopify shows it once)."),
        QStringLiteral("Your **Partner ID** is the number in your Partner Dashboard address: ")
            + host + QStringLiteral("/**1234567**/…"),
    };
    help.link = QUrl(dashboardRoot());
    help.linkLabel = QStringLiteral("Open the Partner Dashboard");
    help.fields = {
        {QStringLiteral("partnerId"), QStringLiteral("Partner ID"), QStringLiteral("1234567"),
         false},
        {QStringLiteral("secret"), QStringLiteral("Partner API token"), QStringLiteral("prtapi_…"),
         true},
    };
    help.note = QStringLiteral(
        "Theme sales, app charges and refunds. Shopify says these figures are for analytics, "
        "not accounting.");
    return help;
}

QString ShopifyPartnerSource::partnerId(const Extra &extra)
{
    // Decimal digits of any script, written as ASCII: the ID goes into the address.
    QString digits;
    for (const QChar c : extra.value(QStringLiteral("partnerId")))
        if (c.isDigit())
            digits += QChar(u'0' + c.digitValue());
    return digits;
}

QUrl ShopifyPartnerSource::dashboard(const Account &account)
{
    const QString id = partnerId(account.extra);
    return QUrl(id.isEmpty() ? dashboardRoot() : dashboardRoot() + id + QStringLiteral("/payouts"));
}

QCoro::Task<QJsonObject> ShopifyPartnerSource::graphql(SourceContext ctx, QString query,
                                                       QJsonObject variables, QString secret,
                                                       Extra extra)
{
    const QString id = partnerId(extra);
    if (id.isEmpty())
        throw SourceError(
            QStringLiteral("Add your Partner ID (the number in the Partner Dashboard address)"));
    const QUrl url(dashboardRoot() + id + QStringLiteral("/api/")
                   + QLatin1String(ShopifyHosts::apiVersion) + QStringLiteral("/graphql.json"));
    co_return co_await shopifyGraphql(ctx.http, url, secret, query, variables,
                                      Platform::ShopifyPartner);
}

QCoro::Task<QString> ShopifyPartnerSource::verify(SourceContext ctx, QString secret, Extra extra)
{
    co_await graphql(ctx, verifyQuery, {}, secret, extra);
    co_return QStringLiteral("Partner ") + partnerId(extra);
}

QCoro::Task<Fetched> ShopifyPartnerSource::fetch(SourceContext ctx, QString secret, Extra extra,
                                                 QUuid account, QDateTime since, QString resume)
{
    // A run that stopped at its cap goes on after the last transaction it read.
    const QString from = Iso::plain(since);
    QJsonValue after = resume.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(resume);
    Fetched events;
    for (int page = 0;; ++page) {
        if (page == maxPages) {
            events.resume = after.toString();
            break;
        }
        const QJsonObject data =
            co_await graphql(ctx, transactionsQuery, pageVariables(from, after), secret, extra);
        const QJsonValue transactions = data.value(QLatin1String("transactions"));
        for (const QJsonValue &edge : Json::array(transactions[QLatin1String("edges")]))
            if (auto event = shopifyPartnerTransactionEvent(edge, account))
                events.append(std::move(*event));
        const auto cursor = transactions.isObject() ? nextCursor(transactions) : std::nullopt;
        if (!cursor)
            break;
        after = *cursor;
    }
    co_return events;
}
