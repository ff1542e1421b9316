#pragma once

#include <QCoroTask>
#include <QDateTime>
#include <chrono>

// Where time comes from. Built once in main and handed to everything that
// reads the time or waits, so tests can move time by hand.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    // Suspends the calling coroutine for `duration` without blocking the loop.
    virtual QCoro::Task<> sleep(std::chrono::milliseconds duration) = 0;
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override;
    QCoro::Task<> sleep(std::chrono::milliseconds duration) override;
};
