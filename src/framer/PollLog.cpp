#include "framer/PollLog.h"

#include "core/EventStore.h"
#include "core/Iso.h"
#include "core/PrivateFile.h"

#include <QFile>
#include <QFileInfo>

PollLog::PollLog(QString path) : m_path(std::move(path))
{
    // Only a folder we make is narrowed to the user; an existing one is left as it is.
    const QString folder = QFileInfo(m_path).absolutePath();
    if (!QFileInfo::exists(folder))
        PrivateFile::makeFolder(folder);
    if (!QFileInfo::exists(m_path))
        PrivateFile::replace(m_path, QByteArray(header) + '\n');
}

QString PollLog::defaultPath()
{
    return QFileInfo(EventStore::defaultPath()).absolutePath()
        + QStringLiteral("/framer-polls.csv");
}

QByteArray PollLog::line(const FramerRow &row, const QString &stamp)
{
    QString title = row.title;
    title.replace(u'"', u'\'');
    const QString text = stamp + QStringLiteral(",\"") + title + QStringLiteral("\",") + row.period
        + u',' + QString::number(row.remixes) + u',' + QString::number(row.views) + u','
        + QString::number(row.conversions) + u'\n';
    return text.toUtf8();
}

void PollLog::append(const QList<FramerRow> &rows, const QDateTime &at) const
{
    const QString stamp = Iso::plain(at);
    QByteArray text;
    for (const FramerRow &row : rows)
        text += line(row, stamp);
    // Unbuffered, so a failed write is seen here and can be taken back whole:
    // a half line would run into the next reading's first line.
    QFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::ExistingOnly
                   | QIODevice::Unbuffered))
        return;
    const qint64 before = file.size();
    if (!text.isEmpty() && file.write(text) != text.size())
        file.resize(before);
}
