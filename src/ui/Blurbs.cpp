#include "ui/Blurbs.h"

namespace Blurbs {

QString of(Platform platform)
{
    switch (platform) {
    case Platform::Framer:
        return QStringLiteral("Remixes, views and rank");
    case Platform::Stripe:
        return QStringLiteral("Payments, renewals and failed payments");
    case Platform::LemonSqueezy:
        return QStringLiteral("Orders and subscription renewals");
    case Platform::Gumroad:
        return QStringLiteral("Sales");
    case Platform::Shopify:
        return QStringLiteral("Your store's orders");
    case Platform::ShopifyPartner:
        return QStringLiteral("Theme and app sales");
    case Platform::Paddle:
        return QStringLiteral("Transactions and renewals");
    case Platform::Polar:
        return QStringLiteral("Orders and subscriptions");
    case Platform::Square:
        return QStringLiteral("In-person and online payments");
    case Platform::WooCommerce:
        return QStringLiteral("Your WordPress shop's orders");
    case Platform::Whop:
        return QStringLiteral("Payments and memberships");
    case Platform::Dodo:
        return QStringLiteral("Payments and subscriptions");
    }
    return {};
}

}
