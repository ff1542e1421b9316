#include "core/StoredDate.h"

#include <cmath>

namespace {
constexpr qint64 referenceMs = 978307200000; // 2001-01-01T00:00:00Z in Unix milliseconds
constexpr double limitSeconds = 1e11;        // about 3,000 years either way
}

namespace StoredDate {

double toSeconds(const QDateTime &at)
{
    return double(at.toMSecsSinceEpoch() - referenceMs) / 1000.0;
}

QDateTime fromSeconds(double seconds)
{
    return QDateTime::fromMSecsSinceEpoch(referenceMs + qint64(std::llround(seconds * 1000.0)),
                                          Qt::UTC);
}

std::optional<QDateTime> fromJson(const QJsonValue &value)
{
    if (!value.isDouble())
        return std::nullopt;
    const double seconds = value.toDouble();
    if (!std::isfinite(seconds) || std::abs(seconds) > limitSeconds)
        return std::nullopt;
    return fromSeconds(seconds);
}

}
