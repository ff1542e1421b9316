#include "design/Tokens.h"

#include "core/Platform.h"

Tokens::Tokens(QObject *parent) : QObject(parent)
{
}

QVariantMap Tokens::platformHex()
{
    QVariantMap map;
    for (Platform p : Platforms::all())
        map.insert(Platforms::rawValue(p), Platforms::brandHex(p));
    return map;
}

QString Tokens::accentHex(const QString &platform)
{
    const auto p = Platforms::fromRaw(platform);
    return p ? Platforms::brandHex(*p) : QStringLiteral("#ffe03a");
}

QColor Tokens::platformColor(const QString &platform)
{
    const auto rgb = Platforms::color(accentHex(platform));
    return QColor::fromRgbF(float(rgb.red), float(rgb.green), float(rgb.blue));
}

QString Tokens::platformName(const QString &platform)
{
    const auto p = Platforms::fromRaw(platform);
    return p ? Platforms::name(*p) : platform;
}

QString Tokens::logoFile(const QString &platform)
{
    const auto p = Platforms::fromRaw(platform);
    return p ? Platforms::logoFile(*p) : QString();
}
