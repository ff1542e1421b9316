#pragma once

#include <QDateTime>
#include <QJsonValue>
#include <optional>

// ISO 8601 internet date-times as the platforms send them.
namespace Iso {
// "2026-12-05T06:56:57Z": UTC, seconds, no fraction. Used for query cut-offs.
QString plain(const QDateTime &at);
// "2026-12-05T06:56:57.500Z": the same with milliseconds.
QString frac(const QDateTime &at);
// Accepts only date, "T", time with seconds, optional fraction and "Z" or a
// numeric offset. Date-only strings, other shapes and non-strings give nothing.
std::optional<QDateTime> date(const QJsonValue &value);
std::optional<QDateTime> date(const QString &text);
}
