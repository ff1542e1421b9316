#include "connectors/gumroad/GumroadSource.h"

#include "connectors/JsonFields.h"
#include "connectors/gumroad/GumroadSale.h"
#include "core/Http.h"
#include "core/SystemTexts.h"

QUrl GumroadSource::base()
{
    return QUrl(QStringLiteral("https://api.gumroad.com/v2"));
}

KeyHelp GumroadSource::help()
{
    KeyHelp h;
    h.steps = {
        QStringLiteral("In Gumroad, open **Settings → Advanced → Applications**."),
        QStringLiteral(
            "Under **Create application**, give it a name (e.g. Korvanta) and set the Redirect URI "
            "to `http://127.0.0.1`. Add any icon."),
        QStringLiteral("Click **Create application**, then **Generate access token**."),
        QStringLiteral("Copy the token and paste it below."),
    };
    h.link = QUrl(QStringLiteral("https://app.gumroad.com/settings/advanced"));
    h.linkLabel = QStringLiteral("Open Gumroad settings");
    h.fields = {{QStringLiteral("secret"), QStringLiteral("Access token"),
                 QStringLiteral("Paste the access token"), true}};
    h.note = QStringLiteral("Korvanta only reads your sales. ")
        + SystemTexts::get(SystemTexts::Text::TokenInKeyring);
    return h;
}

QUrl GumroadSource::dashboard()
{
    return QUrl(QStringLiteral("https://app.gumroad.com/customers"));
}

QString GumroadSource::dayBefore(const QDateTime &since)
{
    return since.addSecs(-86400).toUTC().date().toString(QStringLiteral("yyyy-MM-dd"));
}

QCoro::Task<QJsonObject> GumroadSource::get(SourceContext ctx, QString path, QueryItems query,
                                            QString secret)
{
    const QJsonValue body = co_await ctx.http.json(
        Http::request(queryUrl(base(), path, query), secret), Platform::Gumroad);
    co_return body.toObject();
}

QCoro::Task<QString> GumroadSource::verify(SourceContext ctx, QString secret, Extra)
{
    const QJsonObject body = co_await get(ctx, QStringLiteral("user"), {}, secret);
    const QJsonValue user = body.value(QLatin1String("user"));
    if (const auto name = Json::text(Json::at(user, {QLatin1String("name")})))
        co_return *name;
    co_return Json::string(Json::at(user, {QLatin1String("email")}))
        .value_or(QStringLiteral("Gumroad"));
}

QCoro::Task<Fetched> GumroadSource::fetch(SourceContext ctx, QString secret, Extra, QUuid account,
                                          QDateTime since, QString resume)
{
    // Newest first: a run that stopped at its cap goes on at the page it left.
    const std::pair<QString, QString> after{QStringLiteral("after"), dayBefore(since)};
    const QString pageKey = QStringLiteral("page_key");
    QueryItems query{after};
    if (!resume.isEmpty())
        query.append({pageKey, resume});
    Fetched sales;
    for (int request = 1;; ++request) {
        const QJsonObject page = co_await get(ctx, QStringLiteral("sales"), query, secret);
        bool reachedOld = false;
        for (const QJsonObject &sale : Json::objects(page.value(QLatin1String("sales")))) {
            const GumroadSale::Read read = GumroadSale::read(sale, account, since);
            reachedOld = reachedOld || read.old;
            if (read.event)
                sales.append(*read.event);
        }
        const auto key = Json::string(page.value(QLatin1String("next_page_key")));
        if (reachedOld || !key)
            co_return sales;
        if (request == pageLimit) {
            sales.resume = *key;
            co_return sales;
        }
        query = {after, {pageKey, *key}};
    }
}
