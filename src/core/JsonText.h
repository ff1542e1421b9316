#pragma once

#include <QByteArray>
#include <QString>

// Writes a JSON string literal (quotes included) into `out`. The stores write
// their files by hand so a save costs little more than the write itself.
void appendJsonString(QByteArray &out, const QString &text);
// Writes a number as JSON, exact enough to read back the same double.
void appendJsonNumber(QByteArray &out, double value);
