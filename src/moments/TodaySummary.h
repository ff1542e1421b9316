#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

// The Framer Marketplace numbers of the current day, shown at rest and in
// the dashboard between sales.
struct TodaySummary {
    struct Template {
        QString title;
        qint64 remixes = 0;
        qint64 views = 0;
        friend bool operator==(const Template &, const Template &) = default;
    };

    qint64 remixes = 0; // all templates, latest period
    qint64 views = 0;
    std::optional<qint64> yesterdayRemixes; // none when only one period was reported
    QList<Template> top;                    // up to 4 with any remix or view, best first
    QDateTime updated;

    // The dashboard's one-line Framer subtitle.
    QString highlight() const;

    friend bool operator==(const TodaySummary &, const TodaySummary &) = default;
};
