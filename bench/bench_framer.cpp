#include "ProcessMemory.h"
#include "core/Clock.h"
#include "framer/FramerProfile.h"
#include "framer/FramerSource.h"
#include "support/FakePlatformServer.h"
#include "support/RunTask.h"
#include "support/TestCertificate.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <unistd.h>

// Framer reads against a fake Framer over HTTPS on loopback, through the
// real web engine: the first read after start (engine and page made), a read
// with a new page, and a read in steady state (page already on Framer), with
// the requests per read and the PSS of this process and its web processes
// while the page is alive. Run them in that order, alone:
// --benchmark_filter=Framer
namespace {

// The fake site and the profile, made once: the engine takes its resolver
// rules only when it starts.
struct Site {
    FakePlatformServer server;
    QTemporaryDir dir;
    std::unique_ptr<FramerProfile> profile;
    SystemClock clock;
    bool ok = false;

    Site()
    {
        const auto tls = selfSignedServer({"www.framer.com"});
        if (!tls)
            return;
        server.useTls(*tls);
        server.handle([](const RecordedRequest &r) -> std::optional<ScriptedResponse> {
            if (r.path == u"/creators/api/account/")
                return ScriptedResponse::json(R"({"user":{"framerUserId":"u1"}})");
            if (r.path == u"/creators/api/unified/creator/u1/resource-stats/")
                return ScriptedResponse::json(stats());
            return std::nullopt;
        });
        const auto endpoints =
            std::get<Endpoints>(Endpoints::parse("www.framer.com=" + server.origin()));
        const FramerWebRoutes routes(endpoints);
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", routes.chromiumFlags({}));
        profile = std::make_unique<FramerProfile>(routes, dir.filePath("web"));
        ok = true;
    }

    // Ten templates with two days each.
    static QByteArray stats()
    {
        QByteArray resources;
        for (int i = 0; i < 10; ++i)
            resources += (i ? "," : "") + QByteArray(R"({"resource":{"id":)")
                + QByteArray::number(i) + R"(,"title":"Template"},"stats":{"series":[)"
                + R"({"period":"2026-12-04","remixes":3,"views":40,"conversions":1},)"
                + R"({"period":"2026-12-05","remixes":5,"views":70}]}})";
        return R"({"resources":[)" + resources + "]}";
    }
};

Site &site()
{
    static Site s;
    return s;
}

void read(FramerSource &source, benchmark::State &state)
{
    try {
        const FramerResult r = runTask(source.fetch());
        if (!r.rows || r.rows->size() != 20)
            state.SkipWithError("the read found no rows");
    } catch (const std::exception &e) {
        state.SkipWithError(e.what());
    }
}

void BM_FramerFirstRead(benchmark::State &state)
{
    if (!site().ok)
        return state.SkipWithError("openssl is needed for the fake Framer's certificate");
    for (auto _ : state) {
        FramerSource source(*site().profile, site().clock);
        read(source, state);
    }
}

void BM_FramerNewPageRead(benchmark::State &state)
{
    if (!site().ok)
        return state.SkipWithError("openssl is needed for the fake Framer's certificate");
    for (auto _ : state) {
        FramerSource source(*site().profile, site().clock);
        read(source, state);
    }
}

void BM_FramerSteadyRead(benchmark::State &state)
{
    if (!site().ok)
        return state.SkipWithError("openssl is needed for the fake Framer's certificate");
    FramerSource source(*site().profile, site().clock);
    read(source, state);
    const qsizetype before = site().server.requests().size();
    for (auto _ : state)
        read(source, state);
    state.counters["requests_per_read"] =
        double(site().server.requests().size() - before) / double(state.iterations());
    state.counters["pss_MiB"] = double(ProcessMemory::treePssKiB(getpid())) / 1024.0;
}

}

BENCHMARK(BM_FramerFirstRead)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FramerNewPageRead)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FramerSteadyRead)->Unit(benchmark::kMillisecond)->UseRealTime();
