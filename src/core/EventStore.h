#pragma once

#include "core/Backlog.h"
#include "core/SaleEvent.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <optional>

// Remembers which platform events each account has already seen, keeps the
// last four days of events for today's totals, and when each account was last
// polled. It decides whether a sale is new, and replaces its file atomically
// after every change so a restart neither replays nor forgets a sale.
class EventStore {
public:
    static constexpr qint64 keepSeconds = 345600; // four days

    // Loads `path`. A file that cannot be read as a store is kept aside
    // (renamed with a ".corrupt-" suffix) and the store starts empty.
    explicit EventStore(QString path);

    // The default location: the user's data folder + "Korvanta/events.json".
    static QString defaultPath();

    // Records one successful poll started at `at` and returns the events to
    // announce. The first poll of an account announces nothing, and nothing
    // older than the four days kept is ever new. A `resume` token says the
    // fetch stopped at its cap: the last poll then stays where it was and the
    // token is kept for the next fetch; a fetch that read everything moves
    // the last poll to the start of the run.
    QList<SaleEvent> ingest(const QList<SaleEvent> &events, const QUuid &account,
                            const QDateTime &at, const QString &resume = {});
    void forget(const QUuid &account);
    // Drops the resume token of an unfinished run (its fetch failed), so the
    // next fetch reads the same window again from its start.
    void restartBacklog(const QUuid &account);

    QList<SaleEvent> today(const QDateTime &now) const;     // newest first
    QList<SaleEvent> yesterday(const QDateTime &now) const; // stored order
    std::optional<QDateTime> lastPoll(const QUuid &account) const;
    std::optional<Backlog> backlog(const QUuid &account) const;
    QList<SaleEvent> recent() const;
    QSet<QString> seen(const QUuid &account) const { return m_seen.value(accountKeyOf(account)); }
    const QString &path() const { return m_path; }

private:
    struct Entry {
        SaleEvent event;
        QByteArray json; // the event's stored form, encoded once
    };

    static QString accountKeyOf(const QUuid &account);
    void load();
    void keepAside();
    void loadBacklogs(const QJsonObject &backlogs);
    QList<SaleEvent> admit(const QList<SaleEvent> &events, const QUuid &account,
                           const QDateTime &at, QSet<QString> &known);
    void settleFailures(QList<SaleEvent> &fresh, const QUuid &account);
    void appendBacklogs(QByteArray &out) const;
    const QByteArray &encode() const;
    void save() const;

    QString m_path;
    void setSeen(const QString &key, const QSet<QString> &ids);

    QHash<QString, QSet<QString>> m_seen;
    QHash<QString, QByteArray> m_seenJson; // each account's seen ids, encoded once per change
    QList<Entry> m_recent;
    QHash<QString, QDateTime> m_lastPoll;
    QHash<QString, Backlog> m_backlogs;
    mutable QByteArray m_buffer; // the last encoded file, reused by the next save
};
