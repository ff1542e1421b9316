#pragma once

#include <QString>
#include <optional>

// Opening at login through an XDG autostart entry whose Exec starts this
// program. The switch's state is read back from the file every time.
class Autostart {
public:
    Autostart(QString entryPath, QString program);
    // "$XDG_CONFIG_HOME/autostart/korvanta.desktop".
    static QString defaultPath();

    // The entry exists and the desktop has not been told to skip it.
    bool enabled() const;
    // Writes or removes the entry; on failure, the system's reason.
    std::optional<QString> setEnabled(bool on);

    const QString &entryPath() const { return m_entryPath; }
    // The Exec value: the program's path, quoted as the desktop entry format wants.
    QString execLine() const;

private:
    std::optional<QString> write();
    std::optional<QString> remove();

    QString m_entryPath;
    QString m_program;
};
