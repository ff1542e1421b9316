#include "framer/StoredCounts.h"

#include "core/SettingsFile.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// Whole numbers only; text, flags and fractions make the map unreadable.
std::optional<qint64> integer(const QVariant &value)
{
    switch (value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
        return value.toLongLong();
    case QMetaType::ULongLong: {
        const qulonglong v = value.toULongLong();
        return v <= qulonglong(std::numeric_limits<qint64>::max())
            ? std::optional<qint64>(qint64(v))
            : std::nullopt;
    }
    case QMetaType::Double: {
        const double d = value.toDouble();
        // 2^63 itself does not fit; everything below it does.
        if (d == std::floor(d) && d >= -9.2233720368547758e18 && d < 9.2233720368547758e18)
            return qint64(d);
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

}

namespace StoredCounts {

QHash<QString, qint64> load(const QSettings &settings, const QString &key)
{
    const QVariant stored = settings.value(key);
    if (stored.metaType().id() != QMetaType::QVariantMap)
        return {};
    const QVariantMap map = stored.toMap();
    QHash<QString, qint64> counts;
    counts.reserve(map.size());
    for (auto it = map.begin(); it != map.end(); ++it) {
        const auto value = integer(it.value());
        if (!value)
            return {};
        counts.insert(it.key(), *value);
    }
    return counts;
}

void save(QSettings &settings, const QString &key, const QHash<QString, qint64> &counts)
{
    // Inserting in key order at the end spares a tree search per key.
    QStringList keys = counts.keys();
    std::sort(keys.begin(), keys.end());
    QVariantMap map;
    for (const QString &counter : keys)
        map.insert(map.cend(), counter, counts.value(counter));
    settings.setValue(key, map);
    SettingsFile::sync(settings);
}

void remove(QSettings &settings, const QString &key)
{
    settings.remove(key);
    SettingsFile::sync(settings);
}

}
