#pragma once

// Whether the machine has a sound output to play chimes on. Asking must
// stay quiet: without a sound server the backend complains on stderr.
bool hasAudioOutput();
