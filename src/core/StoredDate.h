#pragma once

#include <QDateTime>
#include <QJsonValue>
#include <optional>

// Dates are stored as seconds since 2001-01-01 00:00:00 UTC, the reference
// date of the stored format, as a JSON number.
namespace StoredDate {
double toSeconds(const QDateTime &at);
QDateTime fromSeconds(double seconds);
std::optional<QDateTime> fromJson(const QJsonValue &value);
}
