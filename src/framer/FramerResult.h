#pragma once

#include "core/FramerRow.h"

#include <QByteArray>
#include <QList>
#include <optional>

// What one reading of Framer found, decoded from the stats script's JSON.
struct FramerResult {
    bool signedIn = false;
    std::optional<int> status;            // of the script's last request; 0: no Framer user id
    std::optional<QList<FramerRow>> rows; // only when signed in

    // Throws Failure with a sentence naming what is missing or malformed.
    static FramerResult decode(const QByteArray &json);

    friend bool operator==(const FramerResult &, const FramerResult &) = default;
};
