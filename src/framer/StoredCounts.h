#pragma once

#include <QHash>
#include <QSettings>
#include <QString>

// The watcher's counters in the settings: a plain map of text to integer.
namespace StoredCounts {
// Empty when the value is missing or is anything but a map of integers.
QHash<QString, qint64> load(const QSettings &settings, const QString &key);
void save(QSettings &settings, const QString &key, const QHash<QString, qint64> &counts);
void remove(QSettings &settings, const QString &key);
}
