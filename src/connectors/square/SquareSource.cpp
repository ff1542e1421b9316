#include "connectors/square/SquareSource.h"

#include "connectors/EnvironmentProbe.h"
#include "connectors/JsonFields.h"
#include "connectors/QueryUrl.h"
#include "connectors/square/SquarePayments.h"
#include "core/Http.h"
#include "core/Iso.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QUrl production(QStringLiteral("https://connect.squareup.com/v2/"));
const QUrl sandbox(QStringLiteral("https://connect.squareupsandbox.com/v2/"));
const QUrl salesPage(QStringLiteral("https://app.squareup.com/dashboard/sales/transactions"));
const QUrl developerApps(QStringLiteral("https://developer.squareup.com/apps"));

HttpRequest squareRequest(const QUrl &url, const QString &secret)
{
    return Http::request(url, secret, {{"Square-Version", SquareSource::apiVersion}});
}

QCoro::Task<QString> merchantLabel(SourceContext ctx, QString secret, Extra extra)
{
    const QJsonValue answer = co_await ctx.http.json(
        squareRequest(queryUrl(SquareSource::host(extra), QStringLiteral("merchants/me")), secret),
        Platform::Square);
    QString name =
        Json::text(Json::at(answer, {QLatin1String("merchant"), QLatin1String("business_name")}))
            .value_or(QStringLiteral("Square"));
    if (Environment::isSandbox(extra))
        name += QStringLiteral(" (sandbox)");
    co_return name;
}

// Titles only: when the lookup fails, payments fall back to their notes.
QCoro::Task<QHash<QString, QString>> orderTitles(SourceContext ctx, QUrl base, QString secret,
                                                 QStringList ids)
{
    HttpRequest request =
        squareRequest(queryUrl(base, QStringLiteral("orders/batch-retrieve")), secret);
    request.method = "POST";
    request.setHeader("Content-Type", "application/json");
    const QJsonObject body{{QStringLiteral("order_ids"), QJsonArray::fromStringList(ids)}};
    request.body = QJsonDocument(body).toJson(QJsonDocument::Compact);
    try {
        co_return SquarePayments::orderTitles(co_await ctx.http.json(request, Platform::Square));
    } catch (const Failure &) {
    }
    co_return {};
}

}

KeyHelp SquareSource::help()
{
    KeyHelp h;
    h.steps = {
        QStringLiteral(
            "Open the **Square Developer Console** and sign in with your Square account."),
        QStringLiteral("Create an application (any name, e.g. Korvanta) and open it."),
        QStringLiteral(
            "Under **Credentials**, switch to **Production** and copy the **Access token**."),
        QStringLiteral("Paste it below."),
    };
    h.link = developerApps;
    h.linkLabel = QStringLiteral("Open the Square Developer Console");
    h.fields = {
        {QStringLiteral("secret"), QStringLiteral("Access token"), QStringLiteral("EAAA…"), true}};
    h.note = QStringLiteral("Korvanta only reads payments and the items in each order.");
    return h;
}

QUrl SquareSource::host(const Extra &extra)
{
    return Environment::isSandbox(extra) ? sandbox : production;
}

QUrl SquareSource::dashboard(const Account &account)
{
    return account.isSandbox() ? developerApps : salesPage;
}

QCoro::Task<QString> SquareSource::verify(SourceContext ctx, QString secret, Extra extra)
{
    co_return co_await Environment::probe(ctx, secret, extra, &merchantLabel);
}

QCoro::Task<Fetched> SquareSource::fetch(SourceContext ctx, QString secret, Extra extra,
                                         QUuid account, QDateTime since, QString resume)
{
    // Newest first, one page a fetch: a run goes on at the page's cursor.
    const QUrl base = host(extra);
    QueryItems query{{QStringLiteral("begin_time"), Iso::plain(since)},
                     {QStringLiteral("sort_order"), QStringLiteral("DESC")},
                     {QStringLiteral("limit"), QStringLiteral("100")}};
    if (!resume.isEmpty())
        query.append({QStringLiteral("cursor"), resume});
    const QJsonValue answer = co_await ctx.http.json(
        squareRequest(queryUrl(base, QStringLiteral("payments"), query), secret), Platform::Square);
    const QList<QJsonObject> payments = SquarePayments::kept(answer);
    const QStringList ids = SquarePayments::orderIds(payments);
    QHash<QString, QString> titles;
    if (!ids.isEmpty())
        titles = co_await orderTitles(ctx, base, secret, ids);
    Fetched events({}, Json::text(answer[QLatin1String("cursor")]).value_or(QString()));
    for (const QJsonObject &payment : payments)
        if (auto e = SquarePayments::event(payment, titles, account))
            events.append(std::move(*e));
    co_return events;
}
