#pragma once

#include "share/CardFigures.h"

#include <QStringList>
#include <QVariantMap>

// The data our share page lays out: the day, the platforms sold on and one
// entry per card ("Day", "Win", and "Framer" while Framer is connected).
// Texts carry the notch's inline markup: "{logo:stripe}" for a logo, "{b}"
// and "{m}" around emphasised and money figures.
namespace ShareCards {

inline constexpr auto accent = "#ffe03a";
// Where the application's resources keep the platform logos.
inline constexpr auto logoFolder = ":/logos";

// `logoFolder` holds the platform logos as "<logo file>.svg"; a missing logo
// is left out and the page draws the platform's initial instead.
QVariantMap data(const CardFigures &figures, const QString &logoFolder);

// "A", "A and B", "A, B and C".
QString list(const QStringList &names);

}
