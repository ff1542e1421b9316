#pragma once

#include <QString>
#include <QTest>

// Two text columns for a data table, and a row maker whose second text may
// be left out (empty).
inline auto textTable(const char *first, const char *second)
{
    QTest::addColumn<QString>(first);
    QTest::addColumn<QString>(second);
    return [](const char *name, const char *a, const char *b = "") {
        QTest::newRow(name) << QString(a) << QString(b);
    };
}
