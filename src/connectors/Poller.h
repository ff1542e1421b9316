#pragma once

#include "connectors/KeySource.h"
#include "connectors/SourceRegistry.h"
#include "core/Account.h"

#include <QCoroTask>
#include <QHash>
#include <QObject>
#include <chrono>

class AccountStore;
class EventStore;
class Keychain;

// Polls every connected account, one after another, each under a time limit,
// and passes what the connectors report through the event store. Keeps a
// status line and the last error per account, in memory only.
class Poller : public QObject {
    Q_OBJECT
public:
    static constexpr std::chrono::seconds timeLimit{45};
    static constexpr qint64 overlapSeconds = 900;

    Poller(AccountStore &accounts, EventStore &events, Keychain &keychain,
           const SourceRegistry &sources, SourceContext context, QObject *parent = nullptr);

    // Every due account once, in list order; only new events come back. A
    // call while another runs returns nothing at once.
    QCoro::Task<QList<SaleEvent>> pollAll();
    // One account; never fails: problems become the account's error line.
    QCoro::Task<QList<SaleEvent>> poll(Account account);

    bool running() const { return m_running; }
    QString status(const QUuid &id) const { return m_status.value(id); }
    QString error(const QUuid &id) const { return m_errors.value(id); }
    bool hasStatus(const QUuid &id) const { return m_status.contains(id); }
    bool hasError(const QUuid &id) const { return m_errors.contains(id); }
    // Forgets the status and error lines of a removed account.
    void forget(const QUuid &id);

    const SourceRegistry &sources() const { return m_sources; }
    EventStore &events() { return m_events; }

Q_SIGNALS:
    void linesChanged();

private:
    bool due(const QUuid &id, double minInterval, const QDateTime &now) const;
    QDateTime cutOff(const QUuid &id, const QDateTime &now) const;
    void fail(const QUuid &id, const QString &resume, const QString &message);

    AccountStore &m_accounts;
    EventStore &m_events;
    Keychain &m_keychain;
    const SourceRegistry &m_sources;
    SourceContext m_context;
    bool m_running = false;
    QHash<QUuid, QString> m_status;
    QHash<QUuid, QString> m_errors;
    QHash<QUuid, QDateTime> m_lastAttempt;
};
