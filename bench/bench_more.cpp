#include "PlainRequests.h"
#include "connectors/square/SquareSource.h"
#include "connectors/whop/WhopSource.h"
#include "connectors/woocommerce/WooCommerceSource.h"
#include "core/Iso.h"
#include "support/TestHttp.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <benchmark/benchmark.h>

// One fetch of Square, WooCommerce and Whop against the fake server, each
// beside its floor: the same requests sent plainly, with nothing mapped.
namespace {

const QUuid account = QUuid::createUuid();
const QDateTime since(QDate(2026, 12, 5), QTime(0, 0), Qt::UTC);
const QString secret = QStringLiteral("bench-key");

QByteArray compact(const QJsonObject &o)
{
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}
QByteArray compact(const QJsonArray &a)
{
    return QJsonDocument(a).toJson(QJsonDocument::Compact);
}

QString stamp(int i)
{
    return Iso::frac(since.addSecs(40000 - i * 60));
}

// One location's 100 completed payments with an order each, and the batch
// answer naming them.
void serveSquare(FakePlatformServer &server)
{
    QJsonArray payments, orders;
    for (int i = 0; i < 100; ++i) {
        const QString order = QStringLiteral("order-%1").arg(i);
        payments.append(
            QJsonObject{{"id", QStringLiteral("pay-%1").arg(i)},
                        {"created_at", stamp(i)},
                        {"status", "COMPLETED"},
                        {"order_id", order},
                        {"source_type", "CARD"},
                        {"amount_money", QJsonObject{{"amount", 1500 + i}, {"currency", "USD"}}},
                        {"total_money", QJsonObject{{"amount", 1650 + i}, {"currency", "USD"}}}});
        orders.append(
            QJsonObject{{"id", order},
                        {"state", "COMPLETED"},
                        {"line_items",
                         QJsonArray{QJsonObject{{"name", "Flat White"}, {"quantity", "1"}},
                                    QJsonObject{{"name", "Croissant"}, {"quantity", "2"}}}}});
    }
    server.on("GET", "/v2/locations",
              ScriptedResponse::json(compact(QJsonObject{
                  {"locations", QJsonArray{QJsonObject{{"id", "L1"}, {"status", "ACTIVE"}}}}})));
    server.on("GET", "/v2/payments",
              ScriptedResponse::json(compact(QJsonObject{{"payments", payments}})));
    server.on("POST", "/v2/orders/batch-retrieve",
              ScriptedResponse::json(compact(QJsonObject{{"orders", orders}})));
}

void serveWooCommerce(FakePlatformServer &server)
{
    QJsonArray orders;
    for (int i = 0; i < 50; ++i)
        orders.append(QJsonObject{{"id", 700 + i},
                                  {"status", "processing"},
                                  {"currency", "USD"},
                                  {"date_created_gmt", stamp(i).left(19)},
                                  {"total", "29.35"},
                                  {"line_items",
                                   QJsonArray{QJsonObject{{"id", 1}, {"name", "Woo Single #1"}},
                                              QJsonObject{{"id", 2}, {"name", "Hoodie"}}}}});
    server.on("GET", "/wp-json/wc/v3/orders", ScriptedResponse::json(compact(orders)));
}

constexpr int whopProducts = 20;

// 100 paid payments over 20 products.
void serveWhop(FakePlatformServer &server)
{
    QJsonArray payments;
    for (int i = 0; i < 100; ++i)
        payments.append(
            QJsonObject{{"id", QStringLiteral("pay_%1").arg(i)},
                        {"status", "paid"},
                        {"paid_at", stamp(i)},
                        {"created_at", stamp(i)},
                        {"product_id", QStringLiteral("prod_%1").arg(i % whopProducts)},
                        {"billing_reason", "subscription_cycle"},
                        {"total", QJsonObject{{"amount", "19.99"}, {"currency", "usd"}}}});
    server.on("GET", "/api/v1/payments",
              ScriptedResponse::json(compact(QJsonObject{{"data", payments}})));
    for (int p = 0; p < whopProducts; ++p)
        server.on("GET", QStringLiteral("/api/v1/products/prod_%1").arg(p),
                  ScriptedResponse::json(
                      compact(QJsonObject{{"id", QStringLiteral("prod_%1").arg(p)},
                                          {"title", QStringLiteral("Course %1").arg(p)}})));
}

template <typename Fetch>
void fetchBench(benchmark::State &state, void (*serve)(FakePlatformServer &), Fetch fetch)
{
    TestHttp t;
    serve(t.server);
    size_t events = 0;
    for (auto _ : state) {
        t.caches.whopProductNames.clear(); // every Whop fetch looks its products up
        events = runTask(fetch(t)).size();
    }
    state.counters["events"] = double(events);
}

template <typename Fetch>
void floorBench(benchmark::State &state, void (*serve)(FakePlatformServer &), Fetch fetch)
{
    TestHttp t;
    serve(t.server);
    t.caches.whopProductNames.clear();
    runTask(fetch(t));
    const QList<HttpRequest> requests = recordedRequests(t.server);
    for (auto _ : state)
        benchmark::DoNotOptimize(runTask(plainRequests(t.http.network(), requests)));
    state.counters["requests"] = double(requests.size());
}

auto square = [](TestHttp &t) {
    return SquareSource::fetch(t.context(), secret, {}, account, since);
};
auto wooCommerce = [](TestHttp &t) {
    return WooCommerceSource::fetch(
        t.context(), secret, {{"site", "https://shop.example.com"}, {"consumerKey", "ck_bench"}},
        account, since);
};
auto whop = [](TestHttp &t) { return WhopSource::fetch(t.context(), secret, {}, account, since); };

void SquareFetch(benchmark::State &state)
{
    fetchBench(state, serveSquare, square);
}
void SquareFloor(benchmark::State &state)
{
    floorBench(state, serveSquare, square);
}
void WooCommerceFetch(benchmark::State &state)
{
    fetchBench(state, serveWooCommerce, wooCommerce);
}
void WooCommerceFloor(benchmark::State &state)
{
    floorBench(state, serveWooCommerce, wooCommerce);
}
void WhopFetch(benchmark::State &state)
{
    fetchBench(state, serveWhop, whop);
}
void WhopFloor(benchmark::State &state)
{
    floorBench(state, serveWhop, whop);
}

}

BENCHMARK(SquareFetch)->Unit(benchmark::kMicrosecond);
BENCHMARK(SquareFloor)->Unit(benchmark::kMicrosecond);
BENCHMARK(WooCommerceFetch)->Unit(benchmark::kMicrosecond);
BENCHMARK(WooCommerceFloor)->Unit(benchmark::kMicrosecond);
BENCHMARK(WhopFetch)->Unit(benchmark::kMicrosecond);
BENCHMARK(WhopFloor)->Unit(benchmark::kMicrosecond);
