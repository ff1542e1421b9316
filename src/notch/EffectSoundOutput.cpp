#include "notch/EffectSoundOutput.h"

#include "notch/AudioOutputCheck.h"

#include <QSoundEffect>

void EffectSoundOutput::play(const QUrl &sound, float volume)
{
    // Without a device an effect never fails and never ends: ask first.
    if (!hasAudioOutput())
        return;
    QSoundEffect *e = effect(sound);
    e->setVolume(volume);
    e->play();
}

QSoundEffect *EffectSoundOutput::effect(const QUrl &sound)
{
    QSoundEffect *&e = m_effects[sound];
    if (!e) {
        e = new QSoundEffect(this);
        e->setSource(sound);
    }
    return e;
}
