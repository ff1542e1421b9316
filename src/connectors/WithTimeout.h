#pragma once

#include "connectors/OnceFlag.h"
#include "core/Clock.h"
#include "core/SourceError.h"

#include <QCoroSignal>
#include <QCoroTask>
#include <exception>
#include <memory>
#include <optional>

namespace detail {

template <typename T>
struct Race {
    OnceFlag flag;
    std::optional<T> value;
    std::exception_ptr error;
};

template <typename T>
QCoro::Task<> runWork(std::shared_ptr<Race<T>> race, QCoro::Task<T> body)
{
    try {
        T value = co_await std::move(body);
        if (race->flag.claim()) {
            race->value = std::move(value);
            Q_EMIT race->flag.fired();
        }
    } catch (...) {
        if (race->flag.claim()) {
            race->error = std::current_exception();
            Q_EMIT race->flag.fired();
        }
    }
}

template <typename T>
QCoro::Task<> runTimer(std::shared_ptr<Race<T>> race, Clock &clock, std::chrono::seconds limit)
{
    co_await clock.sleep(limit);
    if (race->flag.claim()) {
        race->error = std::make_exception_ptr(
            SourceError(QStringLiteral("No answer in %1 seconds").arg(limit.count())));
        Q_EMIT race->flag.fired();
    }
}

}

// Runs `body` and returns its result or error, unless `limit` passes first.
// The loser is not cancelled; whatever it produces later is dropped.
template <typename T>
QCoro::Task<T> withTimeout(Clock &clock, std::chrono::seconds limit, QCoro::Task<T> body)
{
    auto race = std::make_shared<detail::Race<T>>();
    detail::runWork<T>(race, std::move(body));
    detail::runTimer<T>(race, clock, limit);
    if (!race->value && !race->error)
        co_await qCoro(&race->flag, &OnceFlag::fired);
    if (race->error)
        std::rethrow_exception(race->error);
    co_return std::move(*race->value);
}
