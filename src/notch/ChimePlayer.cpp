#include "notch/ChimePlayer.h"

void ChimePlayer::play(Chime chime)
{
    if (const auto url = Chimes::sound(chime))
        m_output.play(*url, float(Chimes::volume(m_settings)));
}
