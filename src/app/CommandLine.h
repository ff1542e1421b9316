#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

// The switches of one run, read against the usage table: each known switch
// with its value, or a sentence saying why the line cannot be read.
class CommandLine {
public:
    // `arguments` without the program's name.
    explicit CommandLine(const QStringList &arguments);

    // Empty when every argument is a known switch with the value it needs.
    QString error() const { return m_error; }
    bool has(const QString &name) const { return m_given.contains(name); }
    QString value(const QString &name) const { return m_given.value(name); }

private:
    QMap<QString, QString> m_given;
    QString m_error;
};
