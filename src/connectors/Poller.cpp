#include "connectors/Poller.h"

#include "connectors/WithTimeout.h"
#include "core/AccountStore.h"
#include "core/EventStore.h"
#include "core/Keychain.h"
#include "core/SystemTexts.h"

#include <QLocale>

Poller::Poller(AccountStore &accounts, EventStore &events, Keychain &keychain,
               const SourceRegistry &sources, SourceContext context, QObject *parent)
    : QObject(parent), m_accounts(accounts), m_events(events), m_keychain(keychain),
      m_sources(sources), m_context(context)
{
}

QCoro::Task<QList<SaleEvent>> Poller::pollAll()
{
    if (m_running)
        co_return {};
    m_running = true;
    const QList<Account> accounts = m_accounts.accounts();
    QList<SaleEvent> fresh;
    for (const Account &account : accounts) {
        if (account.paused || account.platform == Platform::Framer)
            continue;
        fresh.append(co_await poll(account));
    }
    m_running = false;
    co_return fresh;
}

QCoro::Task<QList<SaleEvent>> Poller::poll(Account account)
{
    const SourceEntry *source = m_sources.find(account.platform);
    if (!source)
        co_return {};
    const Keychain::Read read = co_await m_keychain.get(account.id);
    if (!read.key) {
        fail(account.id, {},
             read.problem ? *read.problem
                          : SystemTexts::get(SystemTexts::Text::MissingKey)
                     + Platforms::name(account.platform));
        co_return {};
    }
    const QDateTime now = m_context.clock.now();
    if (!due(account.id, source->minInterval, now))
        co_return {};
    m_lastAttempt.insert(account.id, now);

    const QString resume = m_events.backlog(account.id).value_or(Backlog{}).resume;
    Fetched reported;
    try {
        reported = co_await withTimeout(m_context.clock, timeLimit,
                                        source->fetch(m_context, *read.key, account.extra,
                                                      account.id, cutOff(account.id, now), resume));
    } catch (const Failure &failure) {
        fail(account.id, resume, failure.description());
        co_return {};
    } catch (const std::exception &other) {
        fail(account.id, resume, QString::fromUtf8(other.what()));
        co_return {};
    }
    m_errors.remove(account.id);
    m_status.insert(account.id,
                    QStringLiteral("Checked ")
                        + QLocale().toString(now.toLocalTime().time(), QLocale::ShortFormat));
    Q_EMIT linesChanged();
    co_return m_events.ingest(reported, account.id, now, reported.resume);
}

bool Poller::due(const QUuid &id, double minInterval, const QDateTime &now) const
{
    const auto last = m_lastAttempt.constFind(id);
    if (last == m_lastAttempt.cend())
        return true;
    // A last attempt in the future means the clock was set back: it says nothing.
    const qint64 elapsed = last->msecsTo(now);
    return elapsed < 0 || elapsed >= (minInterval - 5) * 1000;
}

QDateTime Poller::cutOff(const QUuid &id, const QDateTime &now) const
{
    // Times stored under a clock that ran ahead count as now.
    QDateTime since;
    if (const auto last = m_events.lastPoll(id)) {
        since = std::min(*last, now).addSecs(-overlapSeconds);
    } else {
        // A first run keeps the day it began in, so its pages stay one window.
        const auto run = m_events.backlog(id);
        const QDateTime began = run ? std::min(run->began, now) : now;
        since = began.toLocalTime().date().startOfDay().toUTC();
    }
    // Older events are no longer known to the store and would come back as new.
    return std::max(since, now.addSecs(-EventStore::keepSeconds));
}

void Poller::fail(const QUuid &id, const QString &resume, const QString &message)
{
    // A run that failed half-way reads its window again from the start: the
    // token may be what the platform refused, and the cut-off has not moved.
    if (!resume.isEmpty())
        m_events.restartBacklog(id);
    m_errors.insert(id, message);
    Q_EMIT linesChanged();
}

void Poller::forget(const QUuid &id)
{
    m_status.remove(id);
    m_errors.remove(id);
    m_lastAttempt.remove(id);
    Q_EMIT linesChanged();
}
