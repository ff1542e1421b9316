#include "ProcessMemory.h"

#include <QDir>
#include <QFile>

namespace ProcessMemory {

qint64 pssKiB(qint64 pid)
{
    QFile file(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : file.readAll().split('\n'))
        if (line.startsWith("Pss:"))
            return line.mid(4).trimmed().split(' ').first().toLongLong();
    return 0;
}

QList<qint64> descendants(qint64 pid)
{
    QList<qint64> found;
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile children(tasks.filePath(task + QStringLiteral("/children")));
        if (!children.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray &child : children.readAll().split(' ')) {
            if (child.trimmed().isEmpty())
                continue;
            found.append(child.trimmed().toLongLong());
            found.append(descendants(found.last()));
        }
    }
    return found;
}

qint64 treePssKiB(qint64 pid)
{
    qint64 total = pssKiB(pid);
    for (const qint64 child : descendants(pid))
        total += pssKiB(child);
    return total;
}

}
