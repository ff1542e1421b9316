#pragma once

#include "core/Clock.h"

#include <QList>
#include <QObject>
#include <coroutine>

// A clock that moves only when a test moves it; sleepers wake as their
// deadline is passed, so time-based behaviour runs in milliseconds.
class ManualClock : public QObject, public Clock {
    Q_OBJECT
public:
    explicit ManualClock(QDateTime start = QDateTime(QDate(2026, 12, 5), QTime(12, 0), Qt::UTC));

    QDateTime now() const override { return m_now; }
    QCoro::Task<> sleep(std::chrono::milliseconds duration) override;

    // Jumps to `now`, forward or back; sleepers whose deadline it reaches wake.
    void setNow(const QDateTime &now);
    // Moves time forward in steps of at most `step`, waking sleepers at
    // each step, so chains of sleeps run in the order they would for real.
    void advance(std::chrono::milliseconds by,
                 std::chrono::milliseconds step = std::chrono::milliseconds(10));
    int sleepers() const { return m_sleepers; }

private:
    struct Sleeper {
        QDateTime deadline;
        std::coroutine_handle<> handle;
    };
    struct Wait;

    void wake();

    QDateTime m_now;
    int m_sleepers = 0;
    // Each sleeper is listed once and leaves the list before it is woken, so
    // no jump of time can wake it twice or after its coroutine has ended.
    QList<Sleeper> m_waiting;
};
