#include "connectors/BearerGet.h"

#include "core/Http.h"

QCoro::Task<QJsonObject> bearerGet(SourceContext ctx, Platform platform, QUrl url, QString secret,
                                   QList<HttpRequest::Header> headers)
{
    const QJsonValue body = co_await ctx.http.json(Http::request(url, secret, headers), platform);
    co_return body.toObject();
}
