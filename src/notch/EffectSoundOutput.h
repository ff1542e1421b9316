#pragma once

#include "notch/SoundOutput.h"

#include <QHash>
#include <QObject>

class QSoundEffect;

// Plays chimes with QSoundEffect, one loaded effect per sound file. A
// machine without a sound output plays nothing.
class EffectSoundOutput final : public QObject, public SoundOutput {
public:
    explicit EffectSoundOutput(QObject *parent = nullptr) : QObject(parent) {}

    void play(const QUrl &sound, float volume) override;

private:
    QSoundEffect *effect(const QUrl &sound);

    QHash<QUrl, QSoundEffect *> m_effects; // children of this object
};
