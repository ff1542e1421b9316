#pragma once

#include <QUrl>

// Where chimes are played: fire-and-forget, nothing waits for the end.
class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    virtual void play(const QUrl &sound, float volume) = 0;
};
