#pragma once

#include "core/FramerRow.h"
#include "framer/PollLog.h"
#include "moments/Moment.h"

#include <QHash>
#include <QSettings>
#include <optional>

// Framer reports running totals, not events. The watcher remembers the
// highest count seen per template, day and counter, turns each new reading
// into news of new remixes and sales, and logs every reading.
class Watcher {
public:
    static constexpr const char *key = "framerCounts.v1";

    // The news about one template in one reading.
    struct Change {
        QString title;
        qint64 remixes = 0;
        qint64 sales = 0; // new conversions
        friend bool operator==(const Change &, const Change &) = default;
    };

    // Loads the stored counters; `logPath` is the poll log's file.
    Watcher(QSettings &settings, QString logPath = PollLog::defaultPath());

    // True once a reading has been stored to compare later readings with.
    bool hasBaseline() const { return m_hasBaseline; }
    const QHash<QString, qint64> &counts() const { return m_counts; }
    const QString &logPath() const { return m_log.path(); }

    void log(const QList<FramerRow> &rows, const QDateTime &at) const { m_log.append(rows, at); }

    // Compares a reading with the stored counters, stores the new ones and
    // returns the news, largest first. The first reading is the baseline and
    // reports nothing. Counters never go down.
    QList<Change> diff(const QList<FramerRow> &rows);

    // The moment announcing a reading's news; sales outrank remixes.
    static std::optional<Moment> momentFor(const QList<Change> &changes);

    // Forgets every counter (another Framer account); the log stays.
    void reset();

    static QString remixKey(const FramerRow &row);
    static QString conversionKey(const FramerRow &row);

private:
    struct News;
    std::optional<qint64> stored(const QString &counter) const;
    void addNews(const FramerRow &row, qint64 remixes, qint64 sales, News &news) const;
    static QList<Change> largestFirst(const News &news);
    static void prune(QHash<QString, qint64> &counts, const QList<FramerRow> &rows);

    QSettings &m_settings;
    PollLog m_log;
    QHash<QString, qint64> m_counts;
    bool m_hasBaseline = false;
};
