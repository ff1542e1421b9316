#include "notch/RestStyle.h"

#include "core/SettingsFile.h"

namespace RestStyles {

namespace {
const QString settingsKey = QStringLiteral("restStyle");
}

const QList<RestStyle> &all()
{
    static const QList<RestStyle> styles{RestStyle::Hidden, RestStyle::Dot, RestStyle::Total};
    return styles;
}

QString rawValue(RestStyle style)
{
    switch (style) {
    case RestStyle::Hidden:
        return QStringLiteral("hidden");
    case RestStyle::Dot:
        return QStringLiteral("dot");
    case RestStyle::Total:
        break;
    }
    return QStringLiteral("total");
}

QString label(RestStyle style)
{
    switch (style) {
    case RestStyle::Hidden:
        return QStringLiteral("Hidden");
    case RestStyle::Dot:
        return QStringLiteral("Dot");
    case RestStyle::Total:
        break;
    }
    return QStringLiteral("Today's total");
}

std::optional<RestStyle> fromRaw(const QString &raw)
{
    for (RestStyle style : all())
        if (rawValue(style) == raw)
            return style;
    return std::nullopt;
}

RestStyle stored(const QSettings &settings)
{
    const QVariant value = settings.value(settingsKey);
    if (value.metaType().id() != QMetaType::QString)
        return RestStyle::Total;
    return fromRaw(value.toString()).value_or(RestStyle::Total);
}

void store(QSettings &settings, RestStyle style)
{
    settings.setValue(settingsKey, rawValue(style));
    SettingsFile::sync(settings);
}

}
