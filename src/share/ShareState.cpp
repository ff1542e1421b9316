#include "share/ShareState.h"

#include "core/SettingsFile.h"

namespace {

constexpr auto hideKey = "shareHide";
constexpr auto frameKey = "shareFrame";
constexpr auto handleKey = "shareHandle";
constexpr auto taglineKey = "shareTagline";

// QSettings hands back a flag written by another build as text ("true"), so
// both forms count; anything else is not a flag.
std::optional<bool> flag(const QVariant &value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (value.typeId() == QMetaType::QString) {
        if (value.toString() == u"true")
            return true;
        if (value.toString() == u"false")
            return false;
    }
    return std::nullopt;
}

bool isText(const QVariant &value)
{
    return value.typeId() == QMetaType::QString;
}

}

namespace ShareCards {

QVariantMap state(const QSettings &settings)
{
    return {
        {QStringLiteral("hide"), flag(settings.value(hideKey)).value_or(false)},
        {QStringLiteral("frame"), flag(settings.value(frameKey)).value_or(true)},
        {QStringLiteral("handle"), settings.value(handleKey).toString()},
        {QStringLiteral("tagline"), settings.value(taglineKey).toString()},
    };
}

void setState(QSettings &settings, const QVariantMap &state)
{
    bool changed = false;
    const auto storeFlag = [&](const char *entry, const char *key) {
        const QVariant value = state.value(QLatin1String(entry));
        if (value.typeId() != QMetaType::Bool)
            return;
        settings.setValue(QLatin1String(key), value.toBool());
        changed = true;
    };
    const auto storeText = [&](const char *entry, const char *key) {
        const QVariant value = state.value(QLatin1String(entry));
        if (!isText(value))
            return;
        settings.setValue(QLatin1String(key), value.toString());
        changed = true;
    };
    storeFlag("hide", hideKey);
    storeFlag("frame", frameKey);
    storeText("handle", handleKey);
    storeText("tagline", taglineKey);
    if (changed)
        SettingsFile::sync(settings);
}

}
