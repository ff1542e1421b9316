#pragma once

#include "core/SourceError.h"

#include <chrono>

// Framer gave no answer within the reading's time limit.
class FramerTimedOut : public Failure {
public:
    explicit FramerTimedOut(std::chrono::seconds limit)
        : Failure(QStringLiteral("Framer didn't answer in %1 seconds").arg(limit.count()))
    {
    }
};
