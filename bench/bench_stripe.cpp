#include "PlainRequests.h"
#include "connectors/stripe/StripeSource.h"
#include "support/TestHttp.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <benchmark/benchmark.h>

// A full Stripe fetch: five pages of 100 successful charges, each described
// with two requests (the key may not read invoices, so the checkout session
// names it): about 1,000 requests over loopback. The floor makes the same
// requests with a plain QNetworkAccessManager and maps nothing. The test
// clock never moves, so the describe budget never cuts the work short.
namespace {

QByteArray compact(const QJsonObject &o)
{
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

QByteArray eventPage(int page)
{
    QJsonArray events;
    for (int i = 0; i < StripeSource::pageSize; ++i) {
        const QString n = QString::number(page * StripeSource::pageSize + i);
        const auto id = [&](const char *prefix) { return QString(QLatin1String(prefix) + n); };
        const QJsonObject charge{
            {"id", id("ch_3Pq")},
            {"object", "charge"},
            {"amount", 1900 + i},
            {"amount_captured", 1900 + i},
            {"amount_refunded", 0},
            {"balance_transaction", id("txn_3Pq")},
            {"billing_details",
             QJsonObject{{"email", QString(id("buyer") + QStringLiteral("@example.com"))},
                         {"name", id("Buyer ")}}},
            {"captured", true},
            {"created", 1796465000 - i},
            {"currency", "usd"},
            {"description", QJsonValue::Null},
            {"invoice", id("in_1Pq")},
            {"livemode", true},
            {"metadata", QJsonObject{}},
            {"paid", true},
            {"payment_intent", id("pi_3Pq")},
            {"payment_method", id("pm_1Pq")},
            {"refunded", false},
            {"status", "succeeded"}};
        events.append(QJsonObject{{"id", id("evt_3Pq")},
                                  {"object", "event"},
                                  {"api_version", "2024-06-20"},
                                  {"created", 1796465000 - i},
                                  {"data", QJsonObject{{"object", charge}}},
                                  {"livemode", true},
                                  {"pending_webhooks", 0},
                                  {"type", "charge.succeeded"}});
    }
    return compact({{"object", "list"},
                    {"url", "/v1/events"},
                    {"has_more", page < StripeSource::pageLimit - 1},
                    {"data", events}});
}

struct StripeBench {
    TestHttp t;
    QList<QByteArray> pages;
    QByteArray forbidden = compact({{"error",
                                     QJsonObject{{"message",
                                                  "The provided key does not have the required "
                                                  "permissions for this endpoint."},
                                                 {"type", "invalid_request_error"}}}});
    QByteArray session;

    StripeBench()
    {
        for (int p = 0; p < StripeSource::pageLimit; ++p)
            pages.append(eventPage(p));
        QJsonArray items;
        for (const char *d : {"Icon Pack", "Font Licence"})
            items.append(QJsonObject{
                {"id", "li_1"}, {"object", "item"}, {"amount_total", 1900}, {"description", d}});
        session =
            compact({{"object", "list"},
                     {"has_more", false},
                     {"data",
                      QJsonArray{QJsonObject{{"id", "cs_live_1"},
                                             {"object", "checkout.session"},
                                             {"line_items", QJsonObject{{"data", items}}}}}}});
        t.server.handle([this](const RecordedRequest &r) -> std::optional<ScriptedResponse> {
            if (r.path == u"/v1/events") {
                const QString after = r.queryValue("starting_after");
                const int page =
                    after.isEmpty() ? 0 : (after.mid(7).toInt() + 1) / StripeSource::pageSize;
                return ScriptedResponse::json(pages.value(page));
            }
            if (r.path.startsWith(u"/v1/invoices/"))
                return ScriptedResponse::json(forbidden, 403);
            return ScriptedResponse::json(session);
        });
    }

    QList<SaleEvent> fetch()
    {
        return runTask(StripeSource::fetch(t.context(), QStringLiteral("rk_live_bench"), {},
                                           QUuid(),
                                           QDateTime::fromSecsSinceEpoch(1796400000, Qt::UTC)));
    }

    // The requests of one fetch, addressed straight to the fake server.
    QList<HttpRequest> sameRequests()
    {
        const qsizetype from = t.server.requests().size();
        fetch();
        QList<HttpRequest> requests;
        for (const RecordedRequest &r : t.server.requests().mid(from)) {
            HttpRequest plain;
            plain.url = QUrl::fromEncoded(t.server.origin().toUtf8() + r.rawTarget);
            for (const QByteArray name :
                 {"Authorization", "Accept", "User-Agent", "X-Forwarded-Host"})
                plain.setHeader(name, r.header(name));
            requests.append(plain);
        }
        return requests;
    }
};

void BM_StripeFetch(benchmark::State &state)
{
    StripeBench b;
    qsizetype events = 0;
    for (auto _ : state)
        events = b.fetch().size();
    state.counters["events"] = double(events);
    state.counters["requests"] = double(b.t.server.requests().size()) / double(state.iterations());
}

void BM_StripeFetchFloor(benchmark::State &state)
{
    StripeBench b;
    const QList<HttpRequest> requests = b.sameRequests();
    QNetworkAccessManager network;
    for (auto _ : state)
        benchmark::DoNotOptimize(runTask(plainRequests(network, requests)));
    state.counters["requests"] = double(requests.size());
}

}

BENCHMARK(BM_StripeFetch)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StripeFetchFloor)->Unit(benchmark::kMillisecond)->UseRealTime();
