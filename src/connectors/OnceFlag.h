#pragma once

#include <QObject>

// Set once by whichever of two racing tasks finishes first; the waiter
// resumes on `fired`. Touched only on the main thread, so it needs no lock.
class OnceFlag : public QObject {
    Q_OBJECT
public:
    bool done = false;

    // Returns false when the other side already won.
    bool claim()
    {
        if (done)
            return false;
        done = true;
        return true;
    }

Q_SIGNALS:
    void fired();
};
