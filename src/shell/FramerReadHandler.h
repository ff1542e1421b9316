#pragma once

#include "shell/FramerReading.h"
#include "shell/FramerStatus.h"

class NotchModel;
class Watcher;

// What one Framer read means for the app: the status line, the poll log and
// the watcher's news, the notch's summary and moment. The check cycle calls
// it with each read; the Framer account switch calls signOut.
class FramerReadHandler {
public:
    FramerReadHandler(Watcher &watcher, NotchModel &notch) : m_watcher(watcher), m_notch(notch) {}

    // Applies a reader's answer. True when the sign-in window should open
    // by itself (not signed in, and it has not opened by itself this run).
    bool apply(FramerStatus &state, const FramerReading &reading, const QDateTime &now);
    // A read that failed: the description is a complete sentence.
    void fail(FramerStatus &state, const QString &description);
    // Another Framer account: forget the counters and what was shown.
    void signOut(FramerStatus &state);

private:
    void applyRows(FramerStatus &state, const QList<FramerRow> &rows, const QDateTime &now);

    Watcher &m_watcher;
    NotchModel &m_notch;
};
