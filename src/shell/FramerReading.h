#pragma once

#include "core/FramerRow.h"

#include <QList>
#include <optional>

// One answer of the Framer stats reader: whether the web login is valid,
// the HTTP status of the stats request, and the rows when it succeeded.
struct FramerReading {
    bool signedIn = false;
    int status = 0;
    std::optional<QList<FramerRow>> rows;
};
