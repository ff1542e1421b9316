#pragma once

#include "core/FramerRow.h"

#include <QDateTime>
#include <QList>
#include <QString>

// The CSV log of every Framer reading, which the user can open from the
// menu. Only ever appended to; every failure is silent and costs at most
// the lines being written.
class PollLog {
public:
    static constexpr const char *header = "checked_at,template,period,remixes,views,conversions";

    // Creates the folder and, when there is no file yet, writes the header.
    explicit PollLog(QString path);

    // "framer-polls.csv" beside the event store.
    static QString defaultPath();

    // One line per row, all stamped with `at`. A file that is gone (the user
    // deleted it) is not recreated until the next start.
    void append(const QList<FramerRow> &rows, const QDateTime &at) const;

    // `2026-12-05T06:56:57Z,"Title",2026-12-05,3,40,1` plus a line feed.
    static QByteArray line(const FramerRow &row, const QString &stamp);

    const QString &path() const { return m_path; }

private:
    QString m_path;
};
