#include "connectors/whop/WhopSource.h"

#include "connectors/EnvironmentProbe.h"
#include "connectors/JsonFields.h"
#include "connectors/SandboxedApi.h"
#include "connectors/whop/WhopPayments.h"
#include "connectors/whop/WhopProducts.h"
#include "core/Clock.h"
#include "core/Http.h"
#include "core/Iso.h"

namespace {

const SandboxedApi api{QUrl(QStringLiteral("https://api.whop.com/api/v1/")),
                       QUrl(QStringLiteral("https://sandbox-api.whop.com/api/v1/")),
                       QUrl(QStringLiteral("https://whop.com/dashboard")),
                       QUrl(QStringLiteral("https://sandbox.whop.com/dashboard")),
                       {}};
const QUrl developerPage(QStringLiteral("https://whop.com/dashboard/developer"));

// Any answer to the smallest payments list proves the key; the body is not needed.
QCoro::Task<QString> paymentsCheck(SourceContext ctx, QString secret, Extra extra)
{
    const QueryItems one{{QStringLiteral("first"), QStringLiteral("1")}};
    co_await ctx.http.json(api.request(extra, QStringLiteral("payments"), secret, one),
                           Platform::Whop);
    co_return Environment::isSandbox(extra) ? QStringLiteral("Whop (sandbox)")
                                            : QStringLiteral("Whop");
}

// The payment's own product title when it carries one, else the product's
// name looked up (or remembered), within the time left.
QCoro::Task<QString> titleOf(SourceContext ctx, QJsonObject payment, Extra extra, QString secret,
                             QDateTime until)
{
    if (const auto carried = WhopPayments::productTitle(payment))
        co_return *carried;
    const auto id = WhopPayments::productId(payment);
    const HttpRequest lookup = id && WhopProducts::plainToken(*id)
        ? api.request(extra, QStringLiteral("products/") + *id, secret)
        : HttpRequest{};
    co_return co_await WhopProducts::title(ctx, id, lookup, until);
}

}

KeyHelp WhopSource::help()
{
    KeyHelp h;
    h.steps = {
        QStringLiteral("Open the **Whop developer dashboard**."),
        QStringLiteral("Create an **API key** for your company with the **payment:basic:read**, "
                       "**plan:basic:read**, **access_pass:basic:read**, **member:basic:read**, "
                       "**member:email:read**, **member:phone:read** and **promo_code:basic:read** "
                       "permissions (Whop needs them all to list payments)."),
        QStringLiteral("Copy the key and paste it below."),
    };
    h.link = developerPage;
    h.linkLabel = QStringLiteral("Open the Whop developer dashboard");
    h.fields = {{QStringLiteral("secret"), QStringLiteral("API key"),
                 QStringLiteral("Paste the API key"), true}};
    h.note = QStringLiteral("Read-only: Korvanta only sees payments.");
    return h;
}

namespace {

// Where the next page starts, when the answer says there is one.
QString nextCursor(const QJsonValue &answer)
{
    const QJsonValue pageInfo = answer[QLatin1String("page_info")];
    if (Json::boolean(pageInfo[QLatin1String("has_next_page")]) != true)
        return {};
    return Json::text(pageInfo[QLatin1String("end_cursor")]).value_or(QString());
}

}

QUrl WhopSource::host(const Extra &extra)
{
    return api.base(extra);
}

QUrl WhopSource::dashboard(const Account &account)
{
    return api.dashboard(account);
}

QCoro::Task<QString> WhopSource::verify(SourceContext ctx, QString secret, Extra extra)
{
    co_return co_await Environment::probe(ctx, secret, extra, &paymentsCheck);
}

QCoro::Task<Fetched> WhopSource::fetch(SourceContext ctx, QString secret, Extra extra,
                                       QUuid account, QDateTime since, QString resume)
{
    // Newest first, one page a fetch: a run goes on after the page's end cursor.
    const QDateTime stopLookingUp = ctx.clock.now().addSecs(lookupBudget.count());
    QueryItems query{{QStringLiteral("created_after"), Iso::plain(since)},
                     {QStringLiteral("order"), QStringLiteral("created_at")},
                     {QStringLiteral("direction"), QStringLiteral("desc")},
                     {QStringLiteral("first"), QStringLiteral("100")}};
    if (!resume.isEmpty())
        query.append({QStringLiteral("after"), resume});
    const QJsonValue answer = co_await ctx.http.json(
        api.request(extra, QStringLiteral("payments"), secret, query), Platform::Whop);
    Fetched events({}, nextCursor(answer));
    // One product look-up at a time, in payment order, so a name found for
    // one payment serves the next without a second request.
    for (const QJsonObject &payment : WhopPayments::all(answer)) {
        if (!WhopPayments::reported(payment))
            continue;
        const QString title = co_await titleOf(ctx, payment, extra, secret, stopLookingUp);
        events.append(WhopPayments::event(payment, title, account));
    }
    co_return events;
}
