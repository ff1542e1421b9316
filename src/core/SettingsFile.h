#pragma once

#include <QSettings>

// The application's settings file: written at once after a change and
// readable by the user only.
namespace SettingsFile {
void sync(QSettings &settings);
// Moves a value that could not be read to "<key>.corrupt-<time>".
void keepAside(QSettings &settings, const QString &key);
}
