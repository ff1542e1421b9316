#include "support/SalesLedger.h"

#include "core/Iso.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

namespace {

QByteArray compact(const QJsonValue &body)
{
    return body.isArray() ? QJsonDocument(body.toArray()).toJson(QJsonDocument::Compact)
                          : QJsonDocument(body.toObject()).toJson(QJsonDocument::Compact);
}

// Where a page starts: after the sale a cursor names, or at the top.
qsizetype startAfter(const QList<SalesLedger::Sale> &list, const QString &cursor)
{
    if (cursor.isEmpty())
        return 0;
    const auto it = std::find_if(list.begin(), list.end(),
                                 [&](const SalesLedger::Sale &s) { return s.id == cursor; });
    return it == list.end() ? list.size() : it - list.begin() + 1;
}

QJsonObject stripeEvent(const SalesLedger::Sale &sale, bool invoice)
{
    QJsonObject charge{
        {"id", sale.id}, {"amount", 900}, {"currency", "usd"}, {"description", "Zine"}};
    if (invoice)
        charge["invoice"] = QString("in_" + sale.id);
    return {{"id", QString("evt_" + sale.id)},
            {"type", "charge.succeeded"},
            {"created", sale.at.toSecsSinceEpoch()},
            {"data", QJsonObject{{"object", charge}}}};
}

QJsonObject shopifyEdge(const SalesLedger::Sale &sale)
{
    const QJsonObject money{{"amount", "19.90"}, {"currencyCode", "EUR"}};
    return {{"node",
             QJsonObject{{"id", QString("gid://shopify/Order/" + sale.id)},
                         {"name", QString("#" + sale.id)},
                         {"createdAt", Iso::plain(sale.at)},
                         {"test", false},
                         {"cancelledAt", QJsonValue::Null},
                         {"totalPriceSet", QJsonObject{{"shopMoney", money}}},
                         {"lineItems", QJsonObject{{"edges", QJsonArray{}}}}}}};
}

QJsonObject wooOrder(const SalesLedger::Sale &sale)
{
    return {
        {"id", sale.id.toLongLong()}, {"status", "processing"},
        {"currency", "USD"},          {"date_created_gmt", Iso::plain(sale.at).chopped(1)},
        {"total", "29.35"},           {"line_items", QJsonArray{QJsonObject{{"name", "Hoodie"}}}}};
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
        const QJsonObject line{{"description", "Zine subscription"}};
        return reply(compact(QJsonObject{{"billing_reason", "subscription_create"},
                                         {"lines", QJsonObject{{"data", QJsonArray{line}}}}}));
    }
    if (r.path != u"/v1/events")
        return std::nullopt;
    const auto since =
        QDateTime::fromSecsSinceEpoch(r.queryValue("created[gt]").toLongLong(), Qt::UTC);
    const QList<Sale> list = after(since, true);
    // The cursor is an event's id: "evt_" and the charge's.
    const qsizetype start = startAfter(list, r.queryValue("starting_after").mid(4));
    const qsizetype end = std::min(list.size(), start + r.queryValue("limit").toInt());
    QJsonArray data;
    for (qsizetype i = start; i < end; ++i)
        data.append(stripeEvent(list[i], m_invoices));
    return reply(
        compact(QJsonObject{{"object", "list"}, {"has_more", end < list.size()}, {"data", data}}));
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
    QJsonArray edges;
    for (qsizetype i = start; i < end; ++i)
        edges.append(shopifyEdge(list[i]));
    const QJsonObject pageInfo{{"hasNextPage", end < list.size()},
                               {"endCursor", end > start ? list[end - 1].id : QString()}};
    const QJsonObject orders{{"edges", edges}, {"pageInfo", pageInfo}};
    return reply(compact(QJsonObject{{"data", QJsonObject{{"orders", orders}}}}));
}

std::optional<ScriptedResponse> SalesLedger::wooCommerce(const RecordedRequest &r) const
{
    if (!r.path.endsWith(u"/wc/v3/orders"))
        return std::nullopt;
    const auto since = Iso::date(r.queryValue("modified_after") + u'Z').value_or(QDateTime());
    const QList<Sale> list = after(since, true);
    const qsizetype perPage = r.queryValue("per_page").toInt();
    const qsizetype page = std::max(1, r.queryValue("page").toInt());
    QJsonArray orders;
    for (qsizetype i = (page - 1) * perPage; i < std::min(list.size(), page * perPage); ++i)
        orders.append(wooOrder(list[i]));
    return reply(compact(orders));
}
