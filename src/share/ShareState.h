#pragma once

#include <QSettings>
#include <QVariantMap>

// The user's share-card choices, kept in the settings and restored whenever
// a share page loads: `hide` (figures hidden), `frame`, `handle`, `tagline`.
namespace ShareCards {
QVariantMap state(const QSettings &settings);
// Stores each of the four entries present with the right type and leaves
// the others alone; an entry of the wrong type and any other entry are
// ignored, so a page can never store a number where a flag belongs.
void setState(QSettings &settings, const QVariantMap &state);
}
