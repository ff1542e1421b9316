#include "shell/Autostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

Autostart::Autostart(QString entryPath, QString program)
    : m_entryPath(std::move(entryPath)), m_program(std::move(program))
{
}

QString Autostart::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/autostart/korvanta.desktop");
}

bool Autostart::enabled() const
{
    QFile file(m_entryPath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line == u"Hidden=true" || line == u"X-GNOME-Autostart-enabled=false")
            return false;
    }
    return true;
}

std::optional<QString> Autostart::setEnabled(bool on)
{
    return on ? write() : remove();
}

QString Autostart::execLine() const
{
    // Reserved characters inside a quoted argument are escaped with a backslash.
    QString quoted;
    for (const QChar c : m_program) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    // A literal percent sign is doubled in Exec.
    quoted.replace(QStringLiteral("%"), QStringLiteral("%%"));
    return u'"' + quoted + u'"';
}

std::optional<QString> Autostart::write()
{
    QDir().mkpath(QFileInfo(m_entryPath).absolutePath());
    QSaveFile file(m_entryPath);
    const QByteArray text = "[Desktop Entry]\n"
                            "Type=Application\n"
                            "Name=Korvanta\n"
                            "Comment=Announces every new sale\n"
                            "Exec="
        + execLine().toUtf8()
        + "\n"
          "Icon=korvanta\n"
          "Terminal=false\n"
          "X-GNOME-Autostart-enabled=true\n";
    if (file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit())
        return std::nullopt;
    return file.errorString();
}

std::optional<QString> Autostart::remove()
{
    QFile file(m_entryPath);
    if (!file.exists() || file.remove())
        return std::nullopt;
    return file.errorString();
}
