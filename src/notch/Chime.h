#pragma once

#include <QList>
#include <QSettings>
#include <QString>
#include <QUrl>
#include <optional>

// The sound that announces every moment, or silence. Chosen under "chime",
// played at "chimeVolume"; both are read at the instant of playing.
enum class Chime { Chime, Bell, Soft, Coin, Off };

namespace Chimes {
const QList<Chime> &all();
QString rawValue(Chime chime);
QString label(Chime chime); // "Chime", "Bell", "Soft", "Coin", "Off"
std::optional<Chime> fromRaw(const QString &raw);
// Our own sound file for the chime; none for Off.
std::optional<QUrl> sound(Chime chime);

// A missing or unknown stored chime means Chime.
Chime current(const QSettings &settings);
void setCurrent(QSettings &settings, Chime chime);
// The stored volume when it is a number (kept within 0...1), else 0.6.
double volume(const QSettings &settings);
}
