#pragma once

#include "notch/SoundOutput.h"

#include <QList>
#include <functional>

// Remembers what it was asked to play, and when.
struct RecordingOutput : SoundOutput {
    struct Played {
        QUrl sound;
        float volume;
        qint64 at;
    };
    std::function<qint64()> now = [] { return qint64(0); };
    QList<Played> played;

    void play(const QUrl &sound, float volume) override { played.append({sound, volume, now()}); }
};
