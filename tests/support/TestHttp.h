#pragma once

#include "connectors/KeySource.h"
#include "connectors/SourceCaches.h"
#include "core/Http.h"
#include "support/FakePlatformServer.h"
#include "support/ManualClock.h"
#include "support/RunTask.h"

#include <QCoroTask>
#include <exception>

// The parts every connector test builds: a fake platform server, the real
// Http client routed to it for every host, a clock and the caches.
struct TestHttp {
    FakePlatformServer server;
    ManualClock clock;
    Http http{clock, std::get<Endpoints>(Endpoints::parse(server.endpointsForAll())), testLimits()};
    SourceCaches caches;

    SourceContext context() { return {http, clock, caches}; }

    // The whole-transfer limit runs on the test's clock, so it keeps its real
    // figure; the wait for data is the network's own, in real time, and short.
    static HttpLimits testLimits()
    {
        HttpLimits limits;
        limits.inactivity = std::chrono::milliseconds(1000);
        return limits;
    }
};

// Runs a task to its end in the test; returns the description of what it
// threw, or an empty string.
template <typename T>
QString failureOf(QCoro::Task<T> task)
{
    try {
        runTask(std::move(task));
    } catch (const Failure &failure) {
        return failure.description();
    } catch (const std::exception &other) {
        return QStringLiteral("unexpected exception: ") + QString::fromUtf8(other.what());
    }
    return {};
}
