#pragma once

#include "notch/SoundOutput.h"

#include <QList>
#include <QStringList>
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

    // Each sound played as "file volume@time", like "bell.wav 0.25@0".
    QStringList heard() const
    {
        QStringList list;
        for (const Played &p : played)
            list << p.sound.fileName() + u' ' + QString::number(p.volume) + u'@'
                    + QString::number(p.at);
        return list;
    }
};
