#include "core/PrivateFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace PrivateFile {

namespace {
constexpr auto ownerOnly = QFile::ReadOwner | QFile::WriteOwner;
}

bool makeFolder(const QString &folder)
{
    // A folder that is already there keeps its permissions: it may be shared.
    if (QFileInfo(folder).isDir())
        return true;
    if (!QDir().mkpath(folder))
        return false;
    QFile::setPermissions(folder, ownerOnly | QFile::ExeOwner);
    return true;
}

bool replace(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    // Unbuffered: the bytes go to the file in one write, not through a copy.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    file.setPermissions(ownerOnly);
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

namespace {
QString asideName(const QString &path)
{
    const QString stamp =
        QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString target = path + QStringLiteral(".corrupt-") + stamp;
    for (int n = 2; QFile::exists(target); ++n)
        target = path + QStringLiteral(".corrupt-") + stamp + u'-' + QString::number(n);
    return target;
}
}

QString keepAside(const QString &path)
{
    const QString target = asideName(path);
    return QFile::rename(path, target) ? target : QString();
}

QString keepCopy(const QString &path)
{
    const QString target = asideName(path);
    return QFile::copy(path, target) ? target : QString();
}

}
