#pragma once

#include "shell/FramerReading.h"

#include <QCoroTask>

// What the check cycle asks Framer through. The web reader implements it;
// a failed read throws a Failure whose description becomes the status line.
class FramerReader {
public:
    virtual ~FramerReader() = default;
    virtual QCoro::Task<FramerReading> fetch() = 0;
};
