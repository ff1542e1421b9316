#pragma once

#include "notch/Chime.h"
#include "notch/SoundOutput.h"

#include <QSettings>

// Plays a chime at the volume stored at that instant.
class ChimePlayer {
public:
    ChimePlayer(const QSettings &settings, SoundOutput &output)
        : m_settings(settings), m_output(output)
    {
    }

    // Off plays nothing; a stored volume of 0 still starts the sound, silently.
    void play(Chime chime);
    // The chosen chime, as the notch plays it for every moment.
    void playCurrent() { play(Chimes::current(m_settings)); }

private:
    const QSettings &m_settings;
    SoundOutput &m_output;
};
