#include "PlainRequests.h"
#include "connectors/shopify/ShopifyPartnerSource.h"
#include "connectors/shopify/ShopifySource.h"
#include "core/Iso.h"
#include "support/TestHttp.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <benchmark/benchmark.h>

// One fetch of Shopify (4 pages of 50 orders) and of Shopify Partners (4 pages
// of 50 transactions) against the fake server, each beside its floor: the same
// GraphQL posts sent plainly, with nothing mapped.
namespace {

constexpr int pages = 4;
constexpr int perPage = 50;
const QUuid account = QUuid::createUuid();
const QDateTime since(QDate(2026, 12, 5), QTime(0, 0), Qt::UTC);
const Extra store{{"shop", "bench-store"}, {"clientId", "bench-client"}};
const Extra organisation{{"partnerId", "1234567"}};

QByteArray compact(const QJsonObject &o)
{
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

QString stamp(int page, int i)
{
    return Iso::plain(since.addSecs(40000 - (page * perPage + i) * 60));
}

QJsonObject money(const char *amount)
{
    return {{"amount", amount}, {"currencyCode", "USD"}};
}

QJsonObject order(int page, int i)
{
    QJsonArray items;
    for (const char *title : {"Linen Shirt", "Belt", "Socks"})
        items.append(QJsonObject{{"node", QJsonObject{{"title", title}, {"quantity", 1}}}});
    return {{"id", QStringLiteral("gid://shopify/Order/%1").arg(page * perPage + i)},
            {"name", QStringLiteral("#%1").arg(1000 + page * perPage + i)},
            {"createdAt", stamp(page, i)},
            {"test", false},
            {"cancelledAt", QJsonValue::Null},
            {"totalPriceSet", QJsonObject{{"shopMoney", money("129.90")}}},
            {"lineItems", QJsonObject{{"edges", items}}}};
}

QJsonObject transaction(int page, int i)
{
    if (i % 2)
        return {{"id", QStringLiteral("gid://partners/ThemeSale/%1").arg(page * perPage + i)},
                {"createdAt", stamp(page, i)},
                {"__typename", "ThemeSale"},
                {"theme", QJsonObject{{"name", "Dawnlight"}}},
                {"grossAmount", money("350.00")},
                {"netAmount", money("280.00")}};
    return {{"id", QStringLiteral("gid://partners/AppSubscriptionSale/%1").arg(page * perPage + i)},
            {"createdAt", stamp(page, i)},
            {"__typename", "AppSubscriptionSale"},
            {"app", QJsonObject{{"name", "Upsell Pro"}}},
            {"netAmount", money("15.20")}};
}

QByteArray ordersPage(int page)
{
    QJsonArray edges;
    for (int i = 0; i < perPage; ++i)
        edges.append(QJsonObject{{"node", order(page, i)}});
    const QJsonObject info{{"hasNextPage", true}, {"endCursor", QString::number(page + 1)}};
    return compact(
        {{"data", QJsonObject{{"orders", QJsonObject{{"edges", edges}, {"pageInfo", info}}}}}});
}

QByteArray transactionsPage(int page)
{
    QJsonArray edges;
    for (int i = 0; i < perPage; ++i)
        edges.append(
            QJsonObject{{"cursor", QString::number(page + 1)}, {"node", transaction(page, i)}});
    const QJsonObject info{{"hasNextPage", true}};
    return compact(
        {{"data",
          QJsonObject{{"transactions", QJsonObject{{"edges", edges}, {"pageInfo", info}}}}}});
}

// Answers each GraphQL post with the page its `after` variable asks for.
void serve(FakePlatformServer &server, QByteArray (*page)(int))
{
    QList<QByteArray> bodies;
    for (int p = 0; p < pages; ++p)
        bodies.append(page(p));
    server.on("POST", "/admin/oauth/access_token",
              ScriptedResponse::json(R"({"access_token":"bench-token","expires_in":86399})"));
    server.handle([bodies](const RecordedRequest &r) -> std::optional<ScriptedResponse> {
        if (!r.path.endsWith(u"/graphql.json"))
            return std::nullopt;
        const QJsonValue after = QJsonDocument::fromJson(r.body)["variables"]["after"];
        return ScriptedResponse::json(
            bodies.value(after.isString() ? after.toString().toInt() : 0));
    });
}

// The floor repeats only the GraphQL posts, not the token exchange.
bool isGraphql(const RecordedRequest &r)
{
    return r.path.endsWith(u"/graphql.json");
}

template <typename Fetch>
void fetchBench(benchmark::State &state, QByteArray (*page)(int), Fetch fetch)
{
    TestHttp t;
    serve(t.server, page);
    size_t events = 0;
    for (auto _ : state)
        events = runTask(fetch(t)).size(); // the Shopify token stays cached, as between real polls
    state.counters["events"] = double(events);
}

template <typename Fetch>
void floorBench(benchmark::State &state, QByteArray (*page)(int), Fetch fetch)
{
    TestHttp t;
    serve(t.server, page);
    runTask(fetch(t));
    const QList<HttpRequest> requests = recordedRequests(t.server, isGraphql);
    for (auto _ : state)
        benchmark::DoNotOptimize(runTask(plainRequests(t.http.network(), requests)));
    state.counters["requests"] = double(requests.size());
}

// Between the two: the same requests through our HTTP client, which decodes
// the JSON, but still with nothing mapped. Shows what the mapping itself costs.
QCoro::Task<qint64> decodeOnly(Http &http, QList<HttpRequest> requests)
{
    qint64 values = 0;
    for (const HttpRequest &r : requests)
        values += (co_await http.json(r, Platform::Shopify)).toObject().size();
    co_return values;
}

template <typename Fetch>
void decodeBench(benchmark::State &state, QByteArray (*page)(int), Fetch fetch)
{
    TestHttp t;
    serve(t.server, page);
    runTask(fetch(t));
    const QList<HttpRequest> requests = recordedRequests(t.server, isGraphql);
    Http direct(t.clock); // no rerouting: the recorded addresses already point at the fake server
    for (auto _ : state)
        benchmark::DoNotOptimize(runTask(decodeOnly(direct, requests)));
}

auto shopify = [](TestHttp &t) {
    return ShopifySource::fetch(t.context(), "bench-secret", store, account, since);
};
auto partners = [](TestHttp &t) {
    return ShopifyPartnerSource::fetch(t.context(), "prtapi_bench", organisation, account, since);
};

void ShopifyFetch(benchmark::State &state)
{
    fetchBench(state, ordersPage, shopify);
}
void ShopifyFloor(benchmark::State &state)
{
    floorBench(state, ordersPage, shopify);
}
void ShopifyDecoded(benchmark::State &state)
{
    decodeBench(state, ordersPage, shopify);
}
void ShopifyPartnerFetch(benchmark::State &state)
{
    fetchBench(state, transactionsPage, partners);
}
void ShopifyPartnerFloor(benchmark::State &state)
{
    floorBench(state, transactionsPage, partners);
}
void ShopifyPartnerDecoded(benchmark::State &state)
{
    decodeBench(state, transactionsPage, partners);
}

}

BENCHMARK(ShopifyFetch)->Unit(benchmark::kMicrosecond);
BENCHMARK(ShopifyFloor)->Unit(benchmark::kMicrosecond);
BENCHMARK(ShopifyDecoded)->Unit(benchmark::kMicrosecond);
BENCHMARK(ShopifyPartnerFetch)->Unit(benchmark::kMicrosecond);
BENCHMARK(ShopifyPartnerFloor)->Unit(benchmark::kMicrosecond);
BENCHMARK(ShopifyPartnerDecoded)->Unit(benchmark::kMicrosecond);
