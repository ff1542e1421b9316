#pragma once

#include "core/Platform.h"

#include <QByteArray>
#include <QString>

// One thing the notch plays: display texts only, no ids and no numbers.
struct Moment {
    Platform platform = Platform::Framer;
    QString kicker; // the small line above the title, e.g. "New sale on Stripe"
    QString title;
    QString amount; // already formatted, e.g. "+$12" or "+3"

    // {"platform":…,"kicker":…,"title":…,"amount":…} on one line, for scripts.
    QByteArray toCompactJson() const;

    friend bool operator==(const Moment &, const Moment &) = default;
};
