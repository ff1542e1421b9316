#include "shell/CheckCycle.h"

#include "connectors/Poller.h"
#include "core/AccountStore.h"
#include "core/Clock.h"
#include "core/EventStore.h"
#include "core/Revenue.h"
#include "core/SourceError.h"
#include "moments/MomentBuilder.h"
#include "notch/NotchModel.h"
#include "shell/FramerReader.h"
#include "shell/SettingsModel.h"

#include <QPointer>

CheckCycle::CheckCycle(Parts parts, QObject *parent)
    : QObject(parent), m_parts(parts), m_framerReads(parts.watcher, parts.notch)
{
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
    m_parts.settings.setFramerSignedIn(m_framer.signedIn.value_or(false));
    m_parts.settings.bumpRefresh();
    if (const auto moment = MomentBuilder::momentFor(fresh))
        m_parts.notch.show(*moment);
    m_checking = false;
    Q_EMIT checked();
}

QCoro::Task<> CheckCycle::checkFramer()
{
    if (!m_reader)
        co_return;
    const QPointer<CheckCycle> alive(this);
    bool openSignIn = false;
    try {
        const FramerReading reading = co_await m_reader->fetch();
        if (!alive)
            co_return;
        openSignIn = m_framerReads.apply(m_framer, reading, m_parts.clock.now());
    } catch (const Failure &failure) {
        if (!alive)
            co_return;
        m_framerReads.fail(m_framer, failure.description());
    }
    Q_EMIT framerChanged();
    if (openSignIn)
        Q_EMIT signInWanted();
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

void CheckCycle::forgetFramerAccount()
{
    m_framerReads.signOut(m_framer);
    Q_EMIT framerChanged();
}
