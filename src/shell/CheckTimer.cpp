#include "shell/CheckTimer.h"

#include <QPointer>

CheckTimer::CheckTimer(Clock &clock, QObject *parent) : QObject(parent), m_clock(clock)
{
}

void CheckTimer::start(std::chrono::milliseconds interval)
{
    m_interval = interval;
    run(++m_generation, interval);
}

QCoro::Task<> CheckTimer::run(quint64 generation, std::chrono::milliseconds interval)
{
    const QPointer<CheckTimer> alive(this);
    // A replaced schedule wakes once more and ends there.
    while (true) {
        co_await m_clock.sleep(interval);
        if (!alive || generation != m_generation)
            co_return;
        Q_EMIT fired();
    }
}
