#include "ui/PlatformInfo.h"

#include "core/Platform.h"

QString PlatformInfo::name(const QString &raw)
{
    const auto p = Platforms::fromRaw(raw);
    return p ? Platforms::name(*p) : QStringLiteral("Korvanta");
}

QString PlatformInfo::hex(const QString &raw)
{
    const auto p = Platforms::fromRaw(raw);
    return p ? Platforms::brandHex(*p) : QStringLiteral("#ffe03a");
}

QString PlatformInfo::initial(const QString &raw)
{
    return name(raw).left(1);
}
