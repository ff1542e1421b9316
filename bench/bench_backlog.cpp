#include "connectors/Poller.h"
#include "connectors/SourceCaches.h"
#include "connectors/WithTimeout.h"
#include "connectors/shopify/ShopifySource.h"
#include "connectors/stripe/StripeSource.h"
#include "core/EventStore.h"
#include "core/Http.h"
#include "support/RunTask.h"
#include "support/SalesLedger.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

// Catching up on a backlog of 2,000 sales behind a platform that takes 200 ms
// per answer, check after check, as the poller does it: each fetch under the
// poller's limit, resumed where the last one stopped at its cap, into a real
// store. Counts the checks until the backlog is announced and the longest one;
// the time is the whole catch-up. Stripe names every charge from its invoice
// (one more answer each) until its naming budget runs out.
namespace {

constexpr int backlog = 2000;
constexpr std::chrono::milliseconds platformDelay{200};

struct CatchUp {
    QTemporaryDir dir;
    FakePlatformServer server;
    Http http{std::get<Endpoints>(Endpoints::parse(server.endpointsForAll()))};
    SystemClock clock;
    SourceCaches caches;
    EventStore events{dir.filePath("events.json")};
    SalesLedger ledger;
    QUuid account = QUuid::createUuid();
    int checks = 0;
    qsizetype announced = 0;
    double longest = 0;

    CatchUp()
    {
        ledger.setDelay(platformDelay);
        // The account was last checked an hour ago; the backlog came since.
        const QDateTime now = clock.now();
        events.ingest({}, account, now.addSecs(-3600));
        ledger.add(backlog, now.addSecs(-3000));
    }

    // One check of the account, as the poller makes it.
    template <typename Fetch>
    void check(Fetch fetch)
    {
        const QDateTime now = clock.now();
        const QDateTime since = events.lastPoll(account)->addSecs(-Poller::overlapSeconds);
        const QString resume = events.backlog(account).value_or(Backlog{}).resume;
        QElapsedTimer timer;
        timer.start();
        const Fetched read = runTask(withTimeout(clock, Poller::timeLimit, fetch(since, resume)));
        announced += events.ingest(read, account, now, read.resume).size();
        longest = std::max(longest, timer.elapsed() / 1000.0);
        ++checks;
    }

    template <typename Fetch>
    void run(benchmark::State &state, Fetch fetch)
    {
        while (announced < backlog && checks < 50)
            check(fetch);
        state.counters["checks"] = checks;
        state.counters["longest_check_s"] = longest;
        state.counters["announced"] = double(announced);
    }
};

void BM_BacklogStripe(benchmark::State &state)
{
    for (auto _ : state) {
        CatchUp c;
        c.ledger.setInvoices(true);
        c.server.handle([&](const RecordedRequest &r) { return c.ledger.stripe(r); });
        SourceContext ctx{c.http, c.clock, c.caches};
        c.run(state, [&](QDateTime since, QString resume) {
            return StripeSource::fetch(ctx, QStringLiteral("rk_live_bench"), {}, c.account, since,
                                       resume);
        });
        state.counters["bound"] = backlog / (StripeSource::pageSize * StripeSource::pageLimit) + 1;
    }
}

void BM_BacklogShopify(benchmark::State &state)
{
    for (auto _ : state) {
        CatchUp c;
        c.server.handle([&](const RecordedRequest &r) { return c.ledger.shopify(r); });
        SourceContext ctx{c.http, c.clock, c.caches};
        const Extra legacy{{"shop", "bench-store.myshopify.com"}};
        c.run(state, [&](QDateTime since, QString resume) {
            return ShopifySource::fetch(ctx, QStringLiteral("shpat_bench"), legacy, c.account,
                                        since, resume);
        });
        state.counters["bound"] =
            backlog / (ShopifySource::ordersPerPage * ShopifySource::maxPages) + 1;
    }
}

}

BENCHMARK(BM_BacklogStripe)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_BacklogShopify)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);
