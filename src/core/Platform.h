#pragma once

#include <QList>
#include <QString>
#include <optional>

// The places Korvanta reads. The declaration order is the order of every list
// of platforms the user sees; the raw value is what is stored.
enum class Platform {
    Framer,
    Stripe,
    LemonSqueezy,
    Gumroad,
    Shopify,
    ShopifyPartner,
    Paddle,
    Polar,
    Square,
    WooCommerce,
    Whop,
    Dodo,
};

namespace Platforms {
const QList<Platform> &all();
QString rawValue(Platform p);
std::optional<Platform> fromRaw(const QString &raw);
QString name(Platform p);
QString logoFile(Platform p);
// Brand colour as "#rrggbb"; falls back to "#ffe03a" for anything unknown.
QString brandHex(Platform p);
// Red, green and blue in 0...1, opacity 1, parsed from "#rrggbb".
struct Rgb {
    double red, green, blue;
};
Rgb color(const QString &hex);
bool polledWithKey(Platform p);
}
