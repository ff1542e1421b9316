#pragma once

#include "core/Clock.h"

#include <QObject>
#include <chrono>

// The one timer of the app at rest: fires every interval on the injected
// clock. Starting it again replaces the running schedule, so the next firing
// comes one full new interval later.
class CheckTimer : public QObject {
    Q_OBJECT
public:
    explicit CheckTimer(Clock &clock, QObject *parent = nullptr);

    void start(std::chrono::milliseconds interval);
    std::chrono::milliseconds interval() const { return m_interval; }

Q_SIGNALS:
    void fired();

private:
    QCoro::Task<> run(quint64 generation, std::chrono::milliseconds interval);

    Clock &m_clock;
    quint64 m_generation = 0;
    std::chrono::milliseconds m_interval{0};
};
