#include "support/ManualClock.h"

#include <QCoreApplication>
#include <QCoroSignal>

ManualClock::ManualClock(QDateTime start) : m_now(std::move(start))
{
}

QCoro::Task<> ManualClock::sleep(std::chrono::milliseconds duration)
{
    const QDateTime deadline = m_now.addMSecs(duration.count());
    ++m_sleepers;
    while (m_now < deadline)
        co_await qCoro(this, &ManualClock::moved);
    --m_sleepers;
}

void ManualClock::setNow(const QDateTime &now)
{
    m_now = now;
    Q_EMIT moved();
}

void ManualClock::advance(std::chrono::milliseconds by, std::chrono::milliseconds step)
{
    const QDateTime target = m_now.addMSecs(by.count());
    while (m_now < target) {
        m_now = std::min(target, m_now.addMSecs(step.count()));
        Q_EMIT moved();
        // Let woken coroutines run what they queued before the next step.
        QCoreApplication::processEvents();
    }
}
