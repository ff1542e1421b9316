#pragma once

#include <QDateTime>
#include <QString>

// Where an account's unfinished run of capped fetches stands: the token the
// next fetch resumes from (opaque to all but its connector) and when the run
// began. The cut-off stays put until a fetch reads to the end; it then moves
// to `began`, so nothing that arrived during the run is skipped.
struct Backlog {
    QString resume;
    QDateTime began;

    friend bool operator==(const Backlog &, const Backlog &) = default;
};
