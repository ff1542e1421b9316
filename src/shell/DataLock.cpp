#include "shell/DataLock.h"

#include "core/PrivateFile.h"

DataLock::DataLock(const QString &dataFolder)
{
    PrivateFile::makeFolder(dataFolder);
    m_lock = std::make_unique<QLockFile>(dataFolder + QStringLiteral("/korvanta.lock"));
    m_lock->setStaleLockTime(0); // stale only when its process is gone
}

bool DataLock::acquire()
{
    return m_lock->tryLock(0);
}

QString DataLock::busySentence()
{
    return QStringLiteral("Another Korvanta is using its data folder. Quit it and try again.");
}
