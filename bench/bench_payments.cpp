#include "PlainRequests.h"
#include "connectors/dodo/DodoSource.h"
#include "connectors/lemonsqueezy/LemonSqueezySource.h"
#include "connectors/paddlepolar/PaddleSource.h"
#include "connectors/paddlepolar/PolarSource.h"
#include "core/Iso.h"
#include "support/TestHttp.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <benchmark/benchmark.h>

// One full fetch of Lemon Squeezy (5 pages of 50 orders and 50 invoices),
// Paddle (5 pages of 30 transactions), Polar (100 orders) and Dodo Payments
// (100 payments) against the fake server, each beside its floor: the same
// requests sent plainly, with nothing mapped.
namespace {

const QUuid account = QUuid::createUuid();
const QDateTime since(QDate(2026, 12, 5), QTime(0, 0), Qt::UTC);

QByteArray compact(const QJsonObject &o)
{
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

QString stamp(int i)
{
    return Iso::frac(since.addSecs(40000 - i * 60));
}

QJsonObject related(const QString &type, const QString &id, const char *name)
{
    const QString self = QStringLiteral("https://api.lemonsqueezy.com/v1/%1/%2/").arg(type, id)
        + QLatin1String(name);
    return {{"links",
             QJsonObject{{"related", self},
                         {"self", QString(self + QStringLiteral("/relationships"))}}}};
}

QJsonObject lemonOrder(int i)
{
    const QString id = QString::number(5000 + i);
    QJsonObject relationships;
    for (const char *name : {"store", "customer", "order-items", "subscriptions", "license-keys",
                             "discount-redemptions"})
        relationships.insert(QLatin1String(name), related(QStringLiteral("orders"), id, name));
    const QJsonObject item{
        {"id", 9000 + i},    {"order_id", 5000 + i},        {"product_id", 31},
        {"variant_id", 42},  {"product_name", "Icon Pack"}, {"variant_name", "Team"},
        {"price", 4900},     {"created_at", stamp(i)},      {"updated_at", stamp(i)},
        {"test_mode", false}};
    const QJsonObject attributes{
        {"store_id", 1},
        {"customer_id", 700 + i},
        {"identifier", "104e18a2-d755-4d4b-80c4-a6c1dcbe1c10"},
        {"order_number", 1000 + i},
        {"user_name", "Jane Doe"},
        {"user_email", "jane@example.com"},
        {"currency", "USD"},
        {"currency_rate", "1.0000"},
        {"subtotal", 4900},
        {"setup_fee", 0},
        {"discount_total", 0},
        {"tax", 980},
        {"total", 5880},
        {"subtotal_usd", 4900},
        {"tax_usd", 980},
        {"total_usd", 5880},
        {"tax_name", "VAT"},
        {"tax_rate", "20.00"},
        {"tax_inclusive", false},
        {"status", i % 10 ? "paid" : "failed"},
        {"status_formatted", "Paid"},
        {"refunded", false},
        {"refunded_at", QJsonValue::Null},
        {"subtotal_formatted", "$49.00"},
        {"tax_formatted", "$9.80"},
        {"total_formatted", "$58.80"},
        {"first_order_item", item},
        {"urls",
         QJsonObject{{"receipt",
                      "https://app.lemonsqueezy.com/my-orders/104e18a2/receipt?signature=8f3a"}}},
        {"created_at", stamp(i)},
        {"updated_at", stamp(i)},
        {"test_mode", false}};
    return {
        {"type", "orders"},
        {"id", id},
        {"attributes", attributes},
        {"relationships", relationships},
        {"links", QJsonObject{{"self", QString("https://api.lemonsqueezy.com/v1/orders/" + id)}}}};
}

QJsonObject lemonInvoice(int i)
{
    const QJsonObject attributes{
        {"store_id", 1},
        {"subscription_id", 300 + i},
        {"customer_id", 700 + i},
        {"user_name", "Jane Doe"},
        {"user_email", "jane@example.com"},
        {"billing_reason", i % 3 ? "renewal" : "initial"},
        {"card_brand", "visa"},
        {"card_last_four", "4242"},
        {"currency", "EUR"},
        {"currency_rate", "1.08"},
        {"status", "paid"},
        {"status_formatted", "Paid"},
        {"refunded", false},
        {"subtotal", 900},
        {"discount_total", 0},
        {"tax", 171},
        {"total", 1071},
        {"subtotal_formatted", "€9.00"},
        {"total_formatted", "€10.71"},
        {"urls", QJsonObject{{"invoice_url", "https://app.lemonsqueezy.com/my-orders/x/invoice"}}},
        {"created_at", stamp(i)},
        {"updated_at", stamp(i)},
        {"test_mode", false}};
    return {{"type", "subscription-invoices"},
            {"id", QString::number(800 + i)},
            {"attributes", attributes}};
}

QByteArray lemonPage(QJsonObject (*element)(int))
{
    QJsonArray data;
    for (int i = 0; i < LemonSqueezySource::pageSize; ++i)
        data.append(element(i));
    const QJsonObject meta{{"page",
                            QJsonObject{{"currentPage", 1},
                                        {"from", 1},
                                        {"lastPage", 20},
                                        {"perPage", 50},
                                        {"to", 50},
                                        {"total", 1000}}}};
    return compact(
        {{"meta", meta},
         {"jsonapi", QJsonObject{{"version", "1.0"}}},
         {"data", data},
         {"links",
          QJsonObject{{"first", "https://api.lemonsqueezy.com/v1/orders?page%5Bnumber%5D=1"},
                      {"next", "https://api.lemonsqueezy.com/v1/orders?page%5Bnumber%5D=2"}}}});
}

QJsonObject paddleTransaction(int i)
{
    const QJsonObject totals{{"subtotal", "2101"}, {"tax", "399"},          {"discount", "0"},
                             {"total", "2500"},    {"grand_total", "2500"}, {"fee", "175"},
                             {"earnings", "1926"}, {"currency_code", "EUR"}};
    const QJsonObject product{{"id", "pro_01gsz4t5hdjse780zja8vvr7jg"},
                              {"name", "Analytics addon"},
                              {"description", "Unlock advanced dashboards."},
                              {"type", "standard"},
                              {"tax_category", "standard"},
                              {"image_url", QJsonValue::Null},
                              {"status", "active"}};
    const QJsonObject line{{"id", "txnitm_01hv8wt98jahpbm1t1tzr06z6n"},
                           {"price_id", "pri_01gsz8x8sawmvhz1pv30nge1ke"},
                           {"quantity", 1},
                           {"tax_rate", "0.19"},
                           {"totals", totals},
                           {"product", product}};
    const QJsonObject payment{{"payment_attempt_id", "b5a5a0f1-1c2d-4e5f-8a9b-0c1d2e3f4a5b"},
                              {"amount", "2500"},
                              {"status", "captured"},
                              {"method_details", QJsonObject{{"type", "card"}}},
                              {"created_at", stamp(i)},
                              {"captured_at", stamp(i)}};
    return {{"id", QStringLiteral("txn_01hv8wptq8987qeep44cyr%1").arg(i, 4, 10, QLatin1Char('0'))},
            {"status", i % 7 ? "completed" : "past_due"},
            {"customer_id", "ctm_01hv6y1jedq4p1n0yqn5ba3ky4"},
            {"address_id", "add_01hv8gq3318ktkfengj2r75gfx"},
            {"business_id", QJsonValue::Null},
            {"custom_data", QJsonValue::Null},
            {"currency_code", "EUR"},
            {"origin", i % 2 ? "web" : "subscription_recurring"},
            {"subscription_id", QJsonValue::Null},
            {"invoice_number", "325-10566"},
            {"collection_mode", "automatic"},
            {"details", QJsonObject{{"totals", totals}, {"line_items", QJsonArray{line}}}},
            {"payments", QJsonArray{payment}},
            {"created_at", stamp(i)},
            {"updated_at", stamp(i)},
            {"billed_at", stamp(i)}};
}

QByteArray paddlePage()
{
    QJsonArray data;
    for (int i = 0; i < PaddleSource::pageSize; ++i)
        data.append(paddleTransaction(i));
    const QJsonObject pagination{{"per_page", 30},
                                 {"next", "https://api.paddle.com/transactions?after=txn_x"},
                                 {"has_more", true},
                                 {"estimated_total", 1000}};
    return compact({{"data", data},
                    {"meta", QJsonObject{{"request_id", "c2a4e5d1"}, {"pagination", pagination}}}});
}

QJsonObject polarOrder(int i)
{
    return {{"id",
             QStringLiteral("2f1b6c3e-5d4a-4e3b-9c8d-7f6e5d4c%1").arg(i, 4, 10, QLatin1Char('0'))},
            {"created_at", stamp(i)},
            {"modified_at", stamp(i)},
            {"status", "paid"},
            {"paid", true},
            {"subtotal_amount", 1000},
            {"discount_amount", 0},
            {"net_amount", 1000},
            {"tax_amount", 190},
            {"total_amount", 1190},
            {"refunded_amount", 0},
            {"currency", "usd"},
            {"billing_reason", i % 2 ? "purchase" : "subscription_cycle"},
            {"customer_id", "992fae2a-2a17-4b7a-8d9d-e8f32c59f3b0"},
            {"product_id", "e0f3b2c1-5d4a-4e3b-9c8d-7f6e5d4c3b2a"},
            {"product",
             QJsonObject{{"id", "e0f3b2c1-5d4a-4e3b-9c8d-7f6e5d4c3b2a"},
                         {"name", "Framer Kit"},
                         {"description", "Components for fast sites."},
                         {"is_recurring", true}}},
            {"items",
             QJsonArray{QJsonObject{{"label", "Framer Kit Pro"},
                                    {"amount", 1000},
                                    {"tax_amount", 190},
                                    {"proration", false}}}}};
}

QJsonObject dodoPayment(int i)
{
    return {
        {"payment_id", QStringLiteral("pay_8Qw2Xr5Tn1Lm%1").arg(i, 4, 10, QLatin1Char('0'))},
        {"brand_id", "bus_P2nXb8e1Rj4kLs0aQw9zT"},
        {"created_at", stamp(i)},
        {"currency", "USD"},
        {"total_amount", 2900},
        {"status", i % 9 ? "succeeded" : "failed"},
        {"subscription_id", i % 2 ? QJsonValue("sub_9Kd2LmP4qR") : QJsonValue(QJsonValue::Null)},
        {"payment_method", "card"},
        {"digital_products_delivered", true},
        {"metadata", QJsonObject()},
        {"customer",
         QJsonObject{{"customer_id", "cus_1Hq8vLk2"},
                     {"email", "jane@example.com"},
                     {"name", "Jane Doe"}}}};
}

QByteArray itemsPage(QJsonObject (*element)(int), int count)
{
    QJsonArray items;
    for (int i = 0; i < count; ++i)
        items.append(element(i));
    return compact(
        {{"items", items}, {"pagination", QJsonObject{{"total_count", 1000}, {"max_page", 10}}}});
}

// What one full fetch is answered: path and body, request by request.
using Answers = QList<std::pair<QString, QByteArray>>;

struct Case {
    Answers (*answers)();
    QCoro::Task<Fetched> (*fetch)(SourceContext, QString, Extra, QUuid, QDateTime, QString);
    QString secret;
};

Answers lemonSqueezyAnswers()
{
    const QByteArray orders = lemonPage(lemonOrder);
    Answers answers(LemonSqueezySource::orderPageLimit, {QStringLiteral("/v1/orders"), orders});
    answers.append({QStringLiteral("/v1/subscription-invoices"), lemonPage(lemonInvoice)});
    return answers;
}

Answers paddleAnswers()
{
    return Answers(PaddleSource::pageLimit, {QStringLiteral("/transactions"), paddlePage()});
}
Answers polarAnswers()
{
    return {{QStringLiteral("/v1/orders/"), itemsPage(polarOrder, PolarSource::pageSize)}};
}
Answers dodoAnswers()
{
    return {{QStringLiteral("/payments"), itemsPage(dodoPayment, DodoSource::pageSize)}};
}

const Case lemonSqueezy{&lemonSqueezyAnswers, &LemonSqueezySource::fetch,
                        QStringLiteral("bench-key")};
const Case paddle{&paddleAnswers, &PaddleSource::fetch, QStringLiteral("pdl_live_apikey_bench")};
const Case polar{&polarAnswers, &PolarSource::fetch, QStringLiteral("polar_oat_bench")};
const Case dodo{&dodoAnswers, &DodoSource::fetch, QStringLiteral("bench-key")};

void serve(FakePlatformServer &server, const Case &c)
{
    for (const auto &[path, body] : c.answers())
        server.on("GET", path, ScriptedResponse::json(body));
}

void paymentsFetch(benchmark::State &state, const Case &c)
{
    TestHttp t;
    serve(t.server, c);
    qsizetype events = 0;
    for (auto _ : state)
        events = runTask(c.fetch(t.context(), c.secret, {}, account, since, {})).size();
    state.counters["events"] = double(events);
    state.counters["requests"] = double(t.server.requests().size()) / double(state.iterations());
}

// Only the JSON parsing that HTTP does for every answer of one fetch, no
// network and no mapping: it shows how much of the gap to the floor it is.
void paymentsParse(benchmark::State &state, const Case &c)
{
    const Answers answers = c.answers();
    for (auto _ : state)
        for (const auto &answer : answers)
            benchmark::DoNotOptimize(QJsonDocument::fromJson(answer.second));
}

// The requests one fetch made, sent straight to the fake server.
QList<HttpRequest> requestsOf(const FakePlatformServer &server)
{
    static const QList<QByteArray> transportHeaders{"Host", "Connection", "Content-Length",
                                                    "Accept-Encoding", "Accept-Language"};
    QList<HttpRequest> requests;
    for (const RecordedRequest &r : server.requests()) {
        HttpRequest request;
        request.url = QUrl(server.origin() + QString::fromLatin1(r.rawTarget));
        for (const auto &[name, value] : r.headers)
            if (std::none_of(
                    transportHeaders.begin(), transportHeaders.end(),
                    [&](const QByteArray &h) { return h.compare(name, Qt::CaseInsensitive) == 0; }))
                request.headers.append({name, value});
        requests.append(request);
    }
    return requests;
}

void paymentsFloor(benchmark::State &state, const Case &c)
{
    TestHttp t;
    serve(t.server, c);
    runTask(c.fetch(t.context(), c.secret, {}, account, since, {}));
    const QList<HttpRequest> requests = requestsOf(t.server);
    QNetworkAccessManager network;
    qint64 bytes = 0;
    for (auto _ : state)
        bytes = runTask(plainRequests(network, requests));
    state.counters["requests"] = double(requests.size());
    state.counters["bytes"] = double(bytes);
}

}

BENCHMARK_CAPTURE(paymentsFetch, LemonSqueezy, lemonSqueezy)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(paymentsFloor, LemonSqueezy, lemonSqueezy)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(paymentsParse, LemonSqueezy, lemonSqueezy)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(paymentsFetch, Paddle, paddle)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(paymentsFloor, Paddle, paddle)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(paymentsParse, Paddle, paddle)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(paymentsFetch, Polar, polar)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(paymentsFloor, Polar, polar)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(paymentsParse, Polar, polar)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(paymentsFetch, Dodo, dodo)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(paymentsFloor, Dodo, dodo)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(paymentsParse, Dodo, dodo)->Unit(benchmark::kMillisecond);
