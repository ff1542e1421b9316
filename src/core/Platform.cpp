#include "core/Platform.h"

#include <array>

namespace {
struct Row {
    Platform platform;
    const char *raw;
    const char *name;
    const char *logo;
    const char *hex;
};

constexpr std::array<Row, 12> rows{{
    {Platform::Framer, "framer", "Framer", "framer", "#1e8bff"},
    {Platform::Stripe, "stripe", "Stripe", "stripe", "#7466ff"},
    {Platform::LemonSqueezy, "lemonsqueezy", "Lemon Squeezy", "lemonsqueezy", "#ffc21a"},
    {Platform::Gumroad, "gumroad", "Gumroad", "gumroad", "#ff5ccf"},
    {Platform::Shopify, "shopify", "Shopify", "shopify", "#84e03a"},
    {Platform::ShopifyPartner, "shopifypartner", "Shopify Partners", "shopify", "#84e03a"},
    {Platform::Paddle, "paddle", "Paddle", "paddle", "#fddd35"},
    {Platform::Polar, "polar", "Polar", "polar", "#e8e8e8"},
    {Platform::Square, "square", "Square", "square", "#f4f4f2"},
    {Platform::WooCommerce, "woocommerce", "WooCommerce", "woocommerce", "#873eff"},
    {Platform::Whop, "whop", "Whop", "whop", "#fa4616"},
    {Platform::Dodo, "dodo", "Dodo Payments", "dodo", "#c6fe1e"},
}};

const Row &row(Platform p)
{
    return rows[static_cast<size_t>(p)];
}
constexpr const char *fallbackHex = "#ffe03a";
}

namespace Platforms {

const QList<Platform> &all()
{
    static const QList<Platform> list = [] {
        QList<Platform> l;
        for (const Row &r : rows)
            l.append(r.platform);
        return l;
    }();
    return list;
}

QString rawValue(Platform p)
{
    return QString::fromLatin1(row(p).raw);
}

std::optional<Platform> fromRaw(const QString &raw)
{
    for (const Row &r : rows)
        if (raw == QLatin1String(r.raw))
            return r.platform;
    return std::nullopt;
}

QString name(Platform p)
{
    return QString::fromUtf8(row(p).name);
}
QString logoFile(Platform p)
{
    return QString::fromLatin1(row(p).logo);
}
QString brandHex(Platform p)
{
    return QString::fromLatin1(row(p).hex);
}
bool polledWithKey(Platform p)
{
    return p != Platform::Framer;
}

Rgb color(const QString &hex)
{
    const QString text =
        hex.size() == 7 && hex.startsWith(u'#') ? hex : QString::fromLatin1(fallbackHex);
    bool ok = false;
    uint value = text.mid(1).toUInt(&ok, 16);
    if (!ok)
        value = QString::fromLatin1(fallbackHex).mid(1).toUInt(nullptr, 16);
    return {((value >> 16) & 0xff) / 255.0, ((value >> 8) & 0xff) / 255.0, (value & 0xff) / 255.0};
}

}
