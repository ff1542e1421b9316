#include "share/CardFile.h"

#include <QDir>
#include <QSaveFile>
#include <QStandardPaths>

namespace CardFile {

QString name(const QDateTime &localTime)
{
    return QStringLiteral("Korvanta ") + localTime.toString(QStringLiteral("yyyy-MM-dd HH.mm"))
        + QStringLiteral(".png");
}

QString downloadsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
}

Saved save(const QString &folder, const QString &name, const QByteArray &png)
{
    if (!QDir().mkpath(folder))
        return {{}, QStringLiteral("The folder %1 cannot be created.").arg(folder)};
    const QString path = QDir(folder).filePath(name);
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(png) == png.size() && file.commit())
        return {path, {}};
    return {{}, file.errorString()};
}

}
