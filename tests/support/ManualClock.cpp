#include "support/ManualClock.h"

#include <QCoreApplication>
#include <algorithm>

struct ManualClock::Wait {
    ManualClock &clock;
    QDateTime deadline;

    bool await_ready() const noexcept { return clock.m_now >= deadline; }
    void await_suspend(std::coroutine_handle<> handle)
    {
        clock.m_waiting.append({deadline, handle});
    }
    void await_resume() const noexcept {}
};

ManualClock::ManualClock(QDateTime start) : m_now(std::move(start))
{
}

QCoro::Task<> ManualClock::sleep(std::chrono::milliseconds duration)
{
    ++m_sleepers;
    co_await Wait{*this, m_now.addMSecs(duration.count())};
    --m_sleepers;
}

void ManualClock::setNow(const QDateTime &now)
{
    m_now = now;
    wake();
}

void ManualClock::advance(std::chrono::milliseconds by, std::chrono::milliseconds step)
{
    const QDateTime target = m_now.addMSecs(by.count());
    while (m_now < target) {
        m_now = std::min(target, m_now.addMSecs(step.count()));
        wake();
        // Let woken coroutines run what they queued before the next step.
        QCoreApplication::processEvents();
    }
}

void ManualClock::wake()
{
    QList<Sleeper> due;
    m_waiting.removeIf([&](const Sleeper &s) {
        if (s.deadline > m_now)
            return false;
        due.append(s);
        return true;
    });
    std::stable_sort(due.begin(), due.end(),
                     [](const Sleeper &a, const Sleeper &b) { return a.deadline < b.deadline; });
    // Woken from the event loop, as a timer would, never inside the caller.
    for (const Sleeper &s : due)
        QMetaObject::invokeMethod(
            this, [handle = s.handle] { handle.resume(); }, Qt::QueuedConnection);
}
