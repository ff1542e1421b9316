#pragma once

#include "core/Clock.h"

#include <QCoroSignal>
#include <QCoroTask>
#include <QObject>
#include <exception>
#include <memory>
#include <optional>

// Set by whichever of the work and the timer ends first; the other's
// outcome is dropped. Touched on the main thread only, so it needs no lock.
class RaceFlag : public QObject {
    Q_OBJECT
public:
    bool done = false;
    bool timedOut = false;
    std::exception_ptr error;

    // Returns false when the other side already won.
    bool claim()
    {
        if (done)
            return false;
        done = true;
        return true;
    }

Q_SIGNALS:
    void fired();
};

namespace detail {

template <typename T>
struct LimitedRace {
    RaceFlag flag;
    std::optional<T> value;
};

template <typename T>
QCoro::Task<> limitedWork(std::shared_ptr<LimitedRace<T>> race, QCoro::Task<T> work)
{
    try {
        T value = co_await std::move(work);
        if (race->flag.claim()) {
            race->value = std::move(value);
            Q_EMIT race->flag.fired();
        }
    } catch (...) {
        if (race->flag.claim()) {
            race->flag.error = std::current_exception();
            Q_EMIT race->flag.fired();
        }
    }
}

template <typename T>
QCoro::Task<> limitedTimer(std::shared_ptr<LimitedRace<T>> race, Clock &clock,
                           std::chrono::milliseconds limit)
{
    co_await clock.sleep(limit);
    if (race->flag.claim()) {
        race->flag.timedOut = true;
        Q_EMIT race->flag.fired();
    }
}

}

// Runs `work` unless `limit` passes first on `clock`: returns its result or
// rethrows its error, and returns nullopt on time-out. The loser is not
// cancelled, and whatever it produces later is dropped.
template <typename T>
QCoro::Task<std::optional<T>> limitedWait(Clock &clock, std::chrono::milliseconds limit,
                                          QCoro::Task<T> work)
{
    auto race = std::make_shared<detail::LimitedRace<T>>();
    detail::limitedWork<T>(race, std::move(work));
    detail::limitedTimer<T>(race, clock, limit);
    if (!race->flag.done)
        co_await qCoro(&race->flag, &RaceFlag::fired);
    if (race->flag.error)
        std::rethrow_exception(race->flag.error);
    if (race->flag.timedOut)
        co_return std::nullopt;
    co_return std::move(race->value);
}
