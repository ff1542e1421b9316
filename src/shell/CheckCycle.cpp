#include "shell/CheckCycle.h"

#include "connectors/Poller.h"
#include "core/AccountStore.h"
#include "core/Clock.h"
#include "core/EventStore.h"
#include "core/Revenue.h"
#include "framer/FramerCheck.h"
#include "moments/MomentBuilder.h"
#include "notch/NotchModel.h"
#include "shell/SettingsModel.h"

#include <QPointer>

CheckCycle::CheckCycle(Parts parts, QObject *parent) : QObject(parent), m_parts(parts)
{
}

void CheckCycle::setFramer(FramerCheck *framer)
{
    m_framer = framer;
    if (m_framer)
        m_framer->openSignIn = [this] { Q_EMIT signInWanted(); };
}

QCoro::Task<> CheckCycle::check()
{
    if (m_checking)
        co_return;
    m_checking = true;
    const QPointer<CheckCycle> alive(this);
    co_await checkFramer();
    if (!alive)
        co_return;
    const QList<SaleEvent> fresh = co_await m_parts.poller.pollAll();
    if (!alive)
        co_return;
    showFigures();
    m_parts.settings.setFramerSignedIn(m_framer && m_framer->signedIn().value_or(false));
    m_parts.settings.bumpRefresh();
    if (const auto moment = MomentBuilder::momentFor(fresh))
        m_parts.notch.show(*moment);
    m_checking = false;
    Q_EMIT checked();
}

QCoro::Task<> CheckCycle::checkFramer()
{
    if (!m_framer)
        co_return;
    const QPointer<CheckCycle> alive(this);
    const std::optional<Moment> moment = co_await m_framer->run();
    if (!alive)
        co_return;
    showFramer();
    if (moment)
        m_parts.notch.show(*moment);
    Q_EMIT framerChanged();
}

// The notch's Framer figures follow the last read: a failed read keeps the
// previous figures and reports its sentence.
void CheckCycle::showFramer()
{
    NotchModel &notch = m_parts.notch;
    notch.setSignedIn(m_framer->signedIn().value_or(false));
    notch.setToday(m_framer->signedIn().value_or(false) ? m_framer->summary() : std::nullopt);
    const QString &error = m_framer->lastError();
    notch.setLastError(error.isEmpty() ? std::nullopt : std::optional(error));
}

void CheckCycle::showFigures()
{
    NotchModel &notch = m_parts.notch;
    EventStore &events = m_parts.poller.events();
    const QDateTime now = m_parts.clock.now();
    const QList<SaleEvent> today = events.today(now);
    QList<SaleEvent> counted;
    for (const SaleEvent &e : today)
        if (e.kind != SaleEvent::Kind::Failed)
            counted.append(e);
    notch.setSales(today);
    notch.setYesterdaySales(events.yesterday(now));
    const QList<Account> &accounts = m_parts.accounts.accounts();
    notch.setHasAccounts(!accounts.isEmpty());
    notch.setAccounts(accounts);
    notch.setRevenue(Revenue::sum(counted)); // shown at once unless a moment plays
    notch.setLastCheck(now);
}

FramerStatus CheckCycle::framer() const
{
    FramerStatus status;
    if (!m_framer)
        return status;
    status.status = m_framer->status();
    status.lastChecked = m_framer->lastChecked();
    status.signedIn = m_framer->signedIn();
    for (const FramerCheck::TemplateToday &t : m_framer->today())
        status.today.append({t.title, t.remixes});
    return status;
}

void CheckCycle::markSignInPrompted()
{
    if (m_framer)
        m_framer->setPromptedSignIn();
}

QCoro::Task<> CheckCycle::switchFramerAccount()
{
    if (!m_framer)
        co_return;
    const QPointer<CheckCycle> alive(this);
    co_await m_framer->switchAccount();
    if (!alive)
        co_return;
    showFramer();
    Q_EMIT framerChanged();
}
