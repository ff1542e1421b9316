#include "connectors/paddlepolar/PaddleSource.h"

#include "connectors/BearerGet.h"
#include "connectors/JsonFields.h"
#include "connectors/QueryUrl.h"
#include "connectors/paddlepolar/PaddleEvents.h"
#include "core/Clock.h"
#include "core/Iso.h"

namespace {

QCoro::Task<QJsonObject> get(SourceContext ctx, QString path, QueryItems query, QString secret)
{
    const QUrl base =
        PaddleSource::isSandboxKey(secret) ? PaddleSource::sandboxBase() : PaddleSource::liveBase();
    return bearerGet(ctx, Platform::Paddle, queryUrl(base, path, query), secret,
                     {{"Paddle-Version", "1"}});
}

// The cursor for the next page, when Paddle says there is one.
std::optional<QString> nextCursor(const QJsonObject &page, const QJsonArray &data)
{
    const QJsonValue hasMore = Json::at(
        page, {QLatin1String("meta"), QLatin1String("pagination"), QLatin1String("has_more")});
    if (hasMore != QJsonValue(true) || data.isEmpty())
        return std::nullopt;
    return Json::text(Json::at(data.last(), {QLatin1String("id")}));
}

}

QUrl PaddleSource::liveBase()
{
    return QUrl(QStringLiteral("https://api.paddle.com/"));
}

QUrl PaddleSource::sandboxBase()
{
    return QUrl(QStringLiteral("https://sandbox-api.paddle.com/"));
}

bool PaddleSource::isSandboxKey(const QString &secret)
{
    return secret.contains(QLatin1String("sdbx"));
}

KeyHelp PaddleSource::help()
{
    KeyHelp help;
    help.steps = {
        QStringLiteral(
            "In Paddle, open **Developer tools → Authentication** and create a **new API key**."),
        QStringLiteral(
            "Name it Korvanta and give it only **Transactions: Read**. Pick the longest expiry you're happy with."),
        QStringLiteral("Copy the key (it starts with `pdl_`) and paste it below."),
    };
    help.link = QUrl(QStringLiteral("https://vendors.paddle.com/authentication-v2"));
    help.linkLabel = QStringLiteral("Open Paddle authentication");
    help.fields = {{QStringLiteral("secret"), QStringLiteral("API key"),
                    QStringLiteral("pdl_live_apikey_…"), true}};
    help.note = QStringLiteral(
        "Read-only. Paddle keys expire (90 days by default), and Korvanta will tell you when it stops working.");
    return help;
}

QUrl PaddleSource::dashboard(const Extra &extra, const QString &label)
{
    const bool sandbox = extra.value(QStringLiteral("sandbox")) == u"1"
        || label.contains(QLatin1String("(sandbox)"));
    return QUrl(sandbox ? QStringLiteral("https://sandbox-vendors.paddle.com/transactions-v2")
                        : QStringLiteral("https://vendors.paddle.com/transactions-v2"));
}

QCoro::Task<QString> PaddleSource::verify(SourceContext ctx, QString secret, Extra)
{
    const QueryItems query{{QStringLiteral("per_page"), QStringLiteral("1")}};
    co_await get(ctx, QStringLiteral("transactions"), query, secret);
    co_return isSandboxKey(secret) ? QStringLiteral("Paddle (sandbox)") : QStringLiteral("Paddle");
}

QCoro::Task<Fetched> PaddleSource::fetch(SourceContext ctx, QString secret, Extra, QUuid account,
                                         QDateTime since, QString resume)
{
    // Oldest change first, so that the pages continue where the last one ended,
    // and a run that stopped at its cap goes on after the last one it read.
    const QueryItems filter{{QStringLiteral("updated_at[GT]"), Iso::plain(since)},
                            {QStringLiteral("order_by"), QStringLiteral("updated_at[ASC]")},
                            {QStringLiteral("per_page"), QString::number(pageSize)}};
    Fetched events;
    QueryItems query = filter;
    if (!resume.isEmpty())
        query.append({QStringLiteral("after"), resume});
    for (int request = 1;; ++request) {
        const QJsonObject page = co_await get(ctx, QStringLiteral("transactions"), query, secret);
        const QJsonArray data = Json::array(page.value(QLatin1String("data")));
        const QDateTime now = ctx.clock.now();
        for (const QJsonObject &transaction : Json::objects(data))
            if (auto event = PaddleEvents::transaction(transaction, account, now))
                events.append(*event);
        const auto cursor = nextCursor(page, data);
        if (!cursor)
            break;
        if (request == pageLimit) {
            events.resume = *cursor;
            break;
        }
        query = filter;
        query.append({QStringLiteral("after"), *cursor});
    }
    co_return events;
}
