#include "connectors/shopify/ShopifyGraphql.h"

#include "connectors/JsonFields.h"
#include "core/Http.h"

#include <QJsonDocument>

namespace {

HttpRequest graphqlRequest(const QUrl &url, const QString &accessToken, const QString &query,
                           const QJsonObject &variables)
{
    HttpRequest request = Http::request(url);
    request.method = "POST";
    request.setHeader("Content-Type", "application/json");
    request.setHeader("X-Shopify-Access-Token", accessToken.toUtf8());
    const QJsonObject body{{QStringLiteral("query"), query},
                           {QStringLiteral("variables"), variables}};
    request.body = QJsonDocument(body).toJson(QJsonDocument::Compact);
    return request;
}

}

QCoro::Task<QJsonObject> shopifyGraphql(Http &http, QUrl url, QString accessToken, QString query,
                                        QJsonObject variables, Platform platform)
{
    const QJsonValue answer =
        co_await http.json(graphqlRequest(url, accessToken, query, variables), platform);
    // GraphQL reports most failures with status 200 and an `errors` list.
    const QJsonArray errors = Json::array(answer[QLatin1String("errors")]);
    if (!errors.isEmpty())
        if (const auto message = Json::string(errors.first()[QLatin1String("message")]))
            throw SourceError(Platforms::name(platform) + QStringLiteral(": ") + *message);
    co_return Json::object(answer[QLatin1String("data")]);
}
