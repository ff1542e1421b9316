#include "support/SalesLedger.h"

#include "core/Iso.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

namespace {

// Where a page starts: after the sale a cursor names, or at the top.
qsizetype startAfter(const QList<SalesLedger::Sale> &list, const QString &cursor)
{
    if (cursor.isEmpty())
        return 0;
    const auto it = std::find_if(list.begin(), list.end(),
                                 [&](const SalesLedger::Sale &s) { return s.id == cursor; });
    return it == list.end() ? list.size() : it - list.begin() + 1;
}

QByteArray stripeEvent(const SalesLedger::Sale &sale, bool invoice)
{
    return QStringLiteral(R"({"id":"evt_%1","type":"charge.succeeded","created":%2,"data":{)"
                          R"("object":{"id":"%1","amount":900,"currency":"usd",)"
                          R"("description":"Zine","invoice":%3}}})")
        .arg(sale.id, QString::number(sale.at.toSecsSinceEpoch()),
             invoice ? QStringLiteral("\"in_%1\"").arg(sale.id) : QStringLiteral("null"))
        .toUtf8();
}

QByteArray shopifyEdge(const SalesLedger::Sale &sale)
{
    return QStringLiteral(R"({"node":{"id":"gid://shopify/Order/%1","name":"#%1","createdAt":"%2",)"
                          R"("test":false,"cancelledAt":null,"totalPriceSet":{"shopMoney":)"
                          R"({"amount":"19.90","currencyCode":"EUR"}},"lineItems":{"edges":[]}}})")
        .arg(sale.id, Iso::plain(sale.at))
        .toUtf8();
}

QByteArray wooOrder(const SalesLedger::Sale &sale)
{
    return QStringLiteral(
               R"({"id":%1,"status":"processing","currency":"USD",)"
               R"("date_created_gmt":"%2","total":"29.35","line_items":[{"name":"Hoodie"}]})")
        .arg(sale.id, Iso::plain(sale.at).chopped(1))
        .toUtf8();
}

}

void SalesLedger::add(int count, const QDateTime &from)
{
    for (int i = 0; i < count; ++i)
        m_sales.append({QString(m_prefix + QString::number(++m_numbered)), from.addSecs(i)});
    std::stable_sort(m_sales.begin(), m_sales.end(),
                     [](const Sale &a, const Sale &b) { return a.at > b.at; });
}

QList<SalesLedger::Sale> SalesLedger::after(const QDateTime &since, bool newestFirst) const
{
    QList<Sale> list;
    for (const Sale &s : m_sales)
        if (s.at > since)
            list.append(s);
    if (!newestFirst)
        std::reverse(list.begin(), list.end());
    return list;
}

ScriptedResponse SalesLedger::reply(const QByteArray &body) const
{
    ScriptedResponse response = ScriptedResponse::json(body);
    response.delay = m_delay;
    return response;
}

std::optional<ScriptedResponse> SalesLedger::stripe(const RecordedRequest &r) const
{
    if (r.path.startsWith(u"/v1/invoices/")) {
        return reply(R"({"billing_reason":"subscription_create",)"
                     R"("lines":{"data":[{"description":"Zine subscription"}]}})");
    }
    if (r.path != u"/v1/events")
        return std::nullopt;
    const auto since =
        QDateTime::fromSecsSinceEpoch(r.queryValue("created[gt]").toLongLong(), Qt::UTC);
    const QList<Sale> list = after(since, true);
    // The cursor is an event's id: "evt_" and the charge's.
    const qsizetype start = startAfter(list, r.queryValue("starting_after").mid(4));
    const qsizetype end = std::min(list.size(), start + r.queryValue("limit").toInt());
    QByteArrayList data;
    for (qsizetype i = start; i < end; ++i)
        data.append(stripeEvent(list[i], m_invoices));
    return reply(R"({"object":"list","has_more":)"
                 + QByteArray(end < list.size() ? "true" : "false") + R"(,"data":[)"
                 + data.join(',') + "]}");
}

std::optional<ScriptedResponse> SalesLedger::shopify(const RecordedRequest &r) const
{
    if (!r.path.endsWith(u"/graphql.json"))
        return std::nullopt;
    const QJsonObject variables =
        QJsonDocument::fromJson(r.body).object().value("variables").toObject();
    const QString q = variables.value("q").toString();
    const QList<Sale> list = after(Iso::date(q.section(u'\'', 1, 1)).value_or(QDateTime()), false);
    const qsizetype start = startAfter(list, variables.value("after").toString());
    const qsizetype end = std::min(list.size(), start + 50);
    QByteArrayList edges;
    for (qsizetype i = start; i < end; ++i)
        edges.append(shopifyEdge(list[i]));
    return reply(R"({"data":{"orders":{"edges":[)" + edges.join(',')
                 + R"(],"pageInfo":{"hasNextPage":)" + (end < list.size() ? "true" : "false")
                 + R"(,"endCursor":")" + (end > start ? list[end - 1].id.toUtf8() : "")
                 + R"("}}}})");
}

std::optional<ScriptedResponse> SalesLedger::wooCommerce(const RecordedRequest &r) const
{
    if (!r.path.endsWith(u"/wc/v3/orders"))
        return std::nullopt;
    const auto since = Iso::date(r.queryValue("modified_after") + u'Z').value_or(QDateTime());
    const QList<Sale> list = after(since, true);
    const qsizetype perPage = r.queryValue("per_page").toInt();
    const qsizetype page = std::max(1, r.queryValue("page").toInt());
    QByteArrayList orders;
    for (qsizetype i = (page - 1) * perPage; i < std::min(list.size(), page * perPage); ++i)
        orders.append(wooOrder(list[i]));
    return reply('[' + orders.join(',') + ']');
}
