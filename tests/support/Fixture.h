#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// Recorded-shape platform answers live as files in tests/data/, so tests
// read like the behaviour they check rather than like JSON.
inline QByteArray fixture(const QString &name)
{
    QFile file(QStringLiteral(KORVANTA_TEST_DATA "/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("Missing test fixture %s", qPrintable(name));
    return file.readAll();
}
