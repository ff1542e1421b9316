#include "core/SettingsFile.h"

#include <QDateTime>
#include <QFile>

namespace SettingsFile {

void sync(QSettings &settings)
{
    settings.sync();
    QFile::setPermissions(settings.fileName(), QFile::ReadOwner | QFile::WriteOwner);
}

void keepAside(QSettings &settings, const QString &key)
{
    const QString stamp =
        QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    settings.setValue(key + QStringLiteral(".corrupt-") + stamp, settings.value(key));
    sync(settings);
}

}
