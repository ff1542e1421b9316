#pragma once

#include "notch/RestStyle.h"
#include "shell/FramerStatus.h"
#include "shell/MenuItem.h"

#include <optional>

// The tray menu, built from the current state each time it opens.
namespace StatusMenu {

struct State {
    FramerStatus framer;
    double interval = 120; // effective seconds
    RestStyle restStyle = RestStyle::Total;
    std::optional<QString> screen; // the notch's screen description, when there is a notch
};

QList<MenuItem> build(const State &state);

// "Last checked 14:05": the last Framer read, short time without date.
QString lastCheckedLabel(const QDateTime &at);
}
