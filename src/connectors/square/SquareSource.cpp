#include "connectors/square/SquareSource.h"

#include "connectors/EnvironmentProbe.h"
#include "connectors/JsonFields.h"
#include "connectors/ResumeParts.h"
#include "connectors/SandboxedApi.h"
#include "connectors/square/SquarePayments.h"
#include "core/Http.h"
#include "core/Iso.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QUrl developerApps(QStringLiteral("https://developer.squareup.com/apps"));
// A sandbox account has no dashboard of its own: the Developer Console shows it.
const SandboxedApi api{
    QUrl(QStringLiteral("https://connect.squareup.com/v2/")),
    QUrl(QStringLiteral("https://connect.squareupsandbox.com/v2/")),
    QUrl(QStringLiteral("https://app.squareup.com/dashboard/sales/transactions")),
    developerApps,
    {{"Square-Version", SquareSource::apiVersion}}};

QCoro::Task<QString> merchantLabel(SourceContext ctx, QString secret, Extra extra)
{
    const QJsonValue answer = co_await ctx.http.json(
        api.request(extra, QStringLiteral("merchants/me"), secret), Platform::Square);
    QString name =
        Json::text(Json::at(answer, {QLatin1String("merchant"), QLatin1String("business_name")}))
            .value_or(QStringLiteral("Square"));
    if (Environment::isSandbox(extra))
        name += QStringLiteral(" (sandbox)");
    co_return name;
}

// Titles only: when a lookup fails, payments fall back to their notes.
QCoro::Task<QHash<QString, QString>> orderTitles(SourceContext ctx, Extra extra, QString secret,
                                                 QStringList ids)
{
    HttpRequest request = api.request(extra, QStringLiteral("orders/batch-retrieve"), secret);
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

// The merchant's active locations. The payments list covers only the main
// location unless it is given one, so each is read in turn. A token that may
// not list locations reads the main location's payments as before (one
// "location" without an id).
QCoro::Task<QStringList> locations(SourceContext ctx, Extra extra, QString secret)
{
    QStringList ids;
    try {
        ids = SquarePayments::activeLocations(co_await ctx.http.json(
            api.request(extra, QStringLiteral("locations"), secret), Platform::Square));
    } catch (const Failure &) {
    }
    co_return ids.isEmpty() ? QStringList{QString()} : ids;
}

// One page of a location's payments, newest first, and the cursor of the
// next page when there is one.
struct PaymentsPage {
    QList<QJsonObject> kept;
    QString cursor;
};

QCoro::Task<PaymentsPage> payments(SourceContext ctx, Extra extra, QString secret, QDateTime since,
                                   QString location, QString cursor)
{
    QueryItems query{{QStringLiteral("begin_time"), Iso::plain(since)},
                     {QStringLiteral("sort_order"), QStringLiteral("DESC")},
                     {QStringLiteral("limit"), QStringLiteral("100")}};
    if (!location.isEmpty())
        query.append({QStringLiteral("location_id"), location});
    if (!cursor.isEmpty())
        query.append({QStringLiteral("cursor"), cursor});
    const QJsonValue answer = co_await ctx.http.json(
        api.request(extra, QStringLiteral("payments"), secret, query), Platform::Square);
    co_return PaymentsPage{SquarePayments::kept(answer),
                           Json::text(answer[QLatin1String("cursor")]).value_or(QString())};
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
    return api.base(extra);
}

QUrl SquareSource::dashboard(const Account &account)
{
    return api.dashboard(account);
}

QCoro::Task<QString> SquareSource::verify(SourceContext ctx, QString secret, Extra extra)
{
    co_return co_await Environment::probe(ctx, secret, extra, &merchantLabel);
}

QCoro::Task<Fetched> SquareSource::fetch(SourceContext ctx, QString secret, Extra extra,
                                         QUuid account, QDateTime since, QString resume)
{
    // Newest first, one page per location a fetch: a run goes on at each
    // unfinished location's cursor, and locations read to the end in this
    // run are not read again. The main location stands in, unnamed, when
    // locations cannot be listed.
    QList<QJsonObject> kept;
    QList<std::pair<QString, QString>> unfinished;
    for (const QString &location : co_await locations(ctx, extra, secret)) {
        const QString name = location.isEmpty() ? QStringLiteral("main") : location;
        const auto cursor = ResumeParts::part(resume, name);
        if (!resume.isEmpty() && !cursor)
            continue;
        const PaymentsPage page =
            co_await payments(ctx, extra, secret, since, location, cursor.value_or(QString()));
        kept.append(page.kept);
        unfinished.append({name, page.cursor});
    }
    const QStringList ids = SquarePayments::orderIds(kept);
    QHash<QString, QString> titles;
    for (qsizetype at = 0; at < ids.size(); at += SquarePayments::maxOrderIds)
        titles.insert(
            co_await orderTitles(ctx, extra, secret, ids.mid(at, SquarePayments::maxOrderIds)));
    Fetched events({}, ResumeParts::join(unfinished));
    for (const QJsonObject &payment : kept)
        if (auto e = SquarePayments::event(payment, titles, account))
            events.append(std::move(*e));
    co_return events;
}
