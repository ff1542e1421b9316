#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// Where a saved card goes: the user's Downloads folder, one name per minute
// ("Korvanta 2026-12-06 14.05.png"), so saving twice in a minute replaces
// the first file instead of piling up copies.
namespace CardFile {
QString name(const QDateTime &localTime);
QString downloadsFolder();
struct Saved {
    QString path;  // set when the file was written
    QString error; // otherwise, why not
};
// Writes atomically, so a failed save never leaves half a picture.
Saved save(const QString &folder, const QString &name, const QByteArray &png);
}
