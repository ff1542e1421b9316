#pragma once

#include <QByteArray>
#include <QString>

// Files that hold the user's data: readable by the user only, replaced
// atomically (written beside, then renamed over the old one).
namespace PrivateFile {
// Creates a missing folder (and its parents) readable by the user only.
bool makeFolder(const QString &folder);
// Returns false when the bytes could not be written; the old file then stays.
bool replace(const QString &path, const QByteArray &bytes);
// Renames a file that could not be read, so the next save cannot overwrite it.
QString keepAside(const QString &path);
// Copies a file that could only partly be read, leaving it in place.
QString keepCopy(const QString &path);
}
