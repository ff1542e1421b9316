#include "connectors/woocommerce/WooCommerceSource.h"

#include "connectors/JsonFields.h"
#include "connectors/QueryUrl.h"
#include "connectors/woocommerce/WooCommerceOrders.h"
#include "core/Clock.h"
#include "core/Http.h"
#include "core/Iso.h"

#include <QRegularExpression>

namespace {

const QString siteKey = QStringLiteral("site");
const QString consumerKeyKey = QStringLiteral("consumerKey");

// The shop is the user's own server: a key may go there only over https, and
// only to the host the address plainly names (no user info, query or fragment
// that could bend the API paths appended to it).
bool acceptable(const QString &site)
{
    const QUrl url(site, QUrl::StrictMode);
    return site.startsWith(QLatin1String("https://"), Qt::CaseInsensitive) && url.isValid()
        && !url.host().isEmpty() && url.userInfo().isEmpty() && !url.hasQuery()
        && !url.hasFragment();
}

HttpRequest ordersRequest(const QString &site, const Extra &extra, const QString &secret,
                          const QueryItems &query)
{
    const QByteArray credentials =
        (extra.value(consumerKeyKey) + u':' + secret).toUtf8().toBase64();
    const QUrl url =
        queryUrl(QUrl(site + QStringLiteral("/wp-json/wc/v3/")), QStringLiteral("orders"), query);
    return Http::request(url, std::nullopt, {{"Authorization", "Basic " + credentials}});
}

// The site's own name from its public API index; its host when that is
// private or nameless.
QCoro::Task<QString> shopLabel(SourceContext ctx, QString site)
{
    try {
        const QJsonValue index = co_await ctx.http.json(
            Http::request(QUrl(site + QStringLiteral("/wp-json/"))), Platform::WooCommerce);
        if (const auto name = Json::text(Json::at(index, {QLatin1String("name")})))
            co_return *name;
    } catch (const Failure &) {
    }
    const QString host = QUrl(site).host();
    co_return host.isEmpty() ? QStringLiteral("WooCommerce") : host;
}

}

KeyHelp WooCommerceSource::help()
{
    KeyHelp h;
    h.steps = {
        QStringLiteral(
            "In your WordPress admin, open **WooCommerce → Settings → Advanced → REST API**."),
        QStringLiteral(
            "Click **Add key**, describe it as Korvanta, set **Permissions** to **Read** and click "
            "**Generate API key**."),
        QStringLiteral(
            "Copy the **Consumer key** and **Consumer secret** into the fields below, with your shop's "
            "address."),
    };
    h.link = QUrl(QStringLiteral("https://woocommerce.com/document/woocommerce-rest-api/"));
    h.linkLabel = QStringLiteral("How WooCommerce API keys work");
    h.fields = {
        {siteKey, QStringLiteral("Shop address"), exampleSite, false},
        {consumerKeyKey, QStringLiteral("Consumer key"), QStringLiteral("ck_…"), false},
        {QStringLiteral("secret"), QStringLiteral("Consumer secret"), QStringLiteral("cs_…"), true},
    };
    h.note = QStringLiteral("Read-only. Your shop must use https.");
    return h;
}

QString WooCommerceSource::site(const Extra &extra)
{
    // Only a typed scheme counts as one ("httpshop.com" is a bare host); any
    // scheme but https is then refused rather than buried in a host name.
    static const QRegularExpression scheme(QStringLiteral("^(https?:|[a-z][a-z0-9+.-]*://)"),
                                           QRegularExpression::CaseInsensitiveOption);
    QString s = extra.value(siteKey).trimmed();
    if (!scheme.match(s).hasMatch())
        s.prepend(QStringLiteral("https://"));
    while (s.endsWith(u'/'))
        s.chop(1);
    if (!acceptable(s))
        throw SourceError(QStringLiteral("Use your shop's https address, e.g. ") + exampleSite);
    return s;
}

std::optional<QUrl> WooCommerceSource::dashboard(const Extra &extra)
{
    try {
        return QUrl(site(extra) + QStringLiteral("/wp-admin/admin.php?page=wc-orders"));
    } catch (const SourceError &) {
        return std::nullopt;
    }
}

QCoro::Task<QString> WooCommerceSource::verify(SourceContext ctx, QString secret, Extra extra)
{
    if (extra.value(consumerKeyKey).isEmpty())
        throw SourceError(QStringLiteral("Paste the consumer key too"));
    const QString shop = site(extra);
    const HttpRequest oneOrder =
        ordersRequest(shop, extra, secret, {{QStringLiteral("per_page"), QStringLiteral("1")}});
    co_await ctx.http.json(oneOrder, Platform::WooCommerce);
    co_return co_await shopLabel(ctx, shop);
}

QCoro::Task<Fetched> WooCommerceSource::fetch(SourceContext ctx, QString secret, Extra extra,
                                              QUuid account, QDateTime since, QString resume)
{
    // Newest first, one page a fetch: a full page means a run that goes on
    // at the next page.
    const QString shop = site(extra);
    // The cut-off in UTC without a zone designator, as dates_are_gmt expects.
    // Orders are asked for by their last change rather than their creation:
    // an order that waited in "pending" longer than the overlap is only
    // reported once it is paid, and its creation lies before the cut-off.
    QString after = Iso::plain(since);
    after.remove(u'Z');
    QueryItems query{
        {QStringLiteral("modified_after"), after},
        {QStringLiteral("dates_are_gmt"), QStringLiteral("true")},
        {QStringLiteral("per_page"), QString::number(pageSize)},
        {QStringLiteral("orderby"), QStringLiteral("date")},
        {QStringLiteral("order"), QStringLiteral("desc")},
    };
    const int page = resume.isEmpty() ? 1 : std::max(1, resume.toInt());
    if (page > 1)
        query.append({QStringLiteral("page"), QString::number(page)});
    const QJsonValue answer =
        co_await ctx.http.json(ordersRequest(shop, extra, secret, query), Platform::WooCommerce);
    const QList<QJsonObject> orders = Json::objects(answer);
    const QDateTime now = ctx.clock.now();
    Fetched events;
    // Changed orders that were paid long ago (completed, refunded, a note
    // added) are not news.
    for (const QJsonObject &order : orders)
        if (auto e = WooCommerceOrders::event(order, account, now); e && e->at >= since)
            events.append(std::move(*e));
    if (orders.size() >= pageSize)
        events.resume = QString::number(page + 1);
    co_return events;
}
