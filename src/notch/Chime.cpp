#include "notch/Chime.h"

#include "core/SettingsFile.h"

#include <cmath>

namespace {

struct Row {
    Chime chime;
    const char *raw;
    const char *label;
    const char *file; // in the "chimes" resources; nullptr for silence
};

constexpr Row rows[] = {
    {Chime::Chime, "chime", "Chime", "chime.wav"}, {Chime::Bell, "bell", "Bell", "bell.wav"},
    {Chime::Soft, "soft", "Soft", "soft.wav"},     {Chime::Coin, "coin", "Coin", "coin.wav"},
    {Chime::Off, "off", "Off", nullptr},
};

const Row &row(Chime chime)
{
    return rows[static_cast<size_t>(chime)];
}

const QString chimeKey = QStringLiteral("chime");
const QString volumeKey = QStringLiteral("chimeVolume");
constexpr double defaultVolume = 0.6;

// Settings files keep numbers as text, so a number may come back as either.
std::optional<double> number(const QVariant &value)
{
    bool ok = false;
    double d = 0;
    switch (value.metaType().id()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        d = value.toDouble(&ok);
        break;
    case QMetaType::QString:
        d = value.toString().trimmed().toDouble(&ok);
        break;
    default:
        break;
    }
    if (!ok || std::isnan(d))
        return std::nullopt;
    return d;
}

}

namespace Chimes {

const QList<Chime> &all()
{
    static const QList<Chime> chimes{Chime::Chime, Chime::Bell, Chime::Soft, Chime::Coin,
                                     Chime::Off};
    return chimes;
}

QString rawValue(Chime chime)
{
    return QString::fromLatin1(row(chime).raw);
}
QString label(Chime chime)
{
    return QString::fromLatin1(row(chime).label);
}

std::optional<Chime> fromRaw(const QString &raw)
{
    for (const Row &r : rows)
        if (raw == QLatin1String(r.raw))
            return r.chime;
    return std::nullopt;
}

std::optional<QUrl> sound(Chime chime)
{
    if (!row(chime).file)
        return std::nullopt;
    return QUrl(QStringLiteral("qrc:/chimes/") + QLatin1String(row(chime).file));
}

Chime current(const QSettings &settings)
{
    const QVariant value = settings.value(chimeKey);
    if (value.metaType().id() != QMetaType::QString)
        return Chime::Chime;
    return fromRaw(value.toString()).value_or(Chime::Chime);
}

void setCurrent(QSettings &settings, Chime chime)
{
    settings.setValue(chimeKey, rawValue(chime));
    SettingsFile::sync(settings);
}

double volume(const QSettings &settings)
{
    const auto stored = number(settings.value(volumeKey));
    return stored ? std::clamp(*stored, 0.0, 1.0) : defaultVolume;
}

}
