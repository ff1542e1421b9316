#pragma once

#include <QString>

// One template's statistics for one day, as the Framer reader reports them.
// The counts are that day's running totals so far.
struct FramerRow {
    QString id;     // Framer's template id, as text
    QString title;  // the title, or the slug when the title is empty
    QString period; // the day, as Framer writes it
    qint64 remixes = 0;
    qint64 views = 0;
    qint64 conversions = 0; // paid sales of the template

    friend bool operator==(const FramerRow &, const FramerRow &) = default;
};
