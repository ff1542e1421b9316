// NotchModel's player: steps every queued moment through its phases.
#include "notch/NotchModel.h"

#include <QPointer>

namespace {
using namespace std::chrono_literals;
constexpr auto momentTime = 5000ms;
constexpr auto afterglowDelay = 350ms; // lit, old numbers, before they count up
constexpr auto betweenMoments = 450ms;
constexpr auto afterLastMoment = 5650ms; // lit for 6 s in all before rest
constexpr auto openPoll = 300ms;         // moments wait while the island is open
}

void NotchModel::show(const Moment &moment)
{
    m_queue.append(moment);
    if (m_busy)
        return;
    // Set before the task starts and cleared by it, so there is one player.
    m_busy = true;
    runPlayer();
}

QCoro::Task<> NotchModel::runPlayer()
{
    // The frame outlives a model destroyed during a wait; check after each.
    const QPointer<NotchModel> alive(this);
    while (!m_queue.isEmpty()) {
        while (isOpen()) {
            co_await m_clock.sleep(openPoll);
            if (!alive)
                co_return;
        }
        present(m_queue.takeFirst());
        co_await m_clock.sleep(momentTime);
        if (!alive)
            co_return;
        animate(Springs::settle);
        setPhase(Phase::Afterglow);
        co_await m_clock.sleep(afterglowDelay);
        if (!alive)
            co_return;
        showCurrentNumbers();
        co_await m_clock.sleep(m_queue.isEmpty() ? afterLastMoment : betweenMoments);
        if (!alive)
            co_return;
    }
    // Opened meanwhile: the dashboard stays as it is.
    if (m_phase == Phase::Afterglow) {
        animate(Springs::settle);
        setPhase(Phase::Rest);
    }
    m_busy = false;
}

void NotchModel::present(const Moment &moment)
{
    change(m_moment, std::optional(moment), &NotchModel::momentChanged);
    m_chime.playCurrent();
    animate(Springs::momentIn);
    setPhase(Phase::Moment);
    setHoveringNow(false);
}

void NotchModel::showCurrentNumbers()
{
    animate(Springs::numbers);
    setShownTotal(m_today ? std::optional(m_today->remixes) : std::nullopt);
    setShownRevenue(m_revenue);
}
