#include "ui/Dashboard.h"

#include "connectors/dodo/DodoSource.h"
#include "connectors/gumroad/GumroadSource.h"
#include "connectors/lemonsqueezy/LemonSqueezySource.h"
#include "connectors/paddlepolar/PaddleSource.h"
#include "connectors/paddlepolar/PolarSource.h"
#include "connectors/shopify/ShopifyPartnerSource.h"
#include "connectors/shopify/ShopifySource.h"
#include "connectors/square/SquareSource.h"
#include "connectors/stripe/StripeSource.h"
#include "connectors/whop/WhopSource.h"
#include "connectors/woocommerce/WooCommerceSource.h"

namespace {

std::optional<QUrl> valid(const QUrl &url)
{
    return url.isValid() && !url.isEmpty() ? std::optional(url) : std::nullopt;
}

}

namespace Dashboard {

QUrl framer()
{
    return QUrl(QStringLiteral("https://www.framer.com/marketplace/dashboard/templates/"));
}

std::optional<QUrl> url(const Account &a)
{
    // Paddle and Polar decide on the label as the sandbox test does.
    Extra extra = a.extra;
    if (a.isSandbox())
        extra.insert(QStringLiteral("sandbox"), QStringLiteral("1"));
    switch (a.platform) {
    case Platform::Framer:
        return framer();
    case Platform::Stripe:
        return StripeSource::dashboard(a.label);
    case Platform::LemonSqueezy:
        return LemonSqueezySource::dashboard();
    case Platform::Gumroad:
        return GumroadSource::dashboard();
    case Platform::Shopify:
        return valid(ShopifySource::dashboard(a));
    case Platform::ShopifyPartner:
        return ShopifyPartnerSource::dashboard(a);
    case Platform::Paddle:
        return PaddleSource::dashboard(extra, a.label);
    case Platform::Polar:
        return PolarSource::dashboard(extra, a.label);
    case Platform::Square:
        return SquareSource::dashboard(a);
    case Platform::WooCommerce:
        return WooCommerceSource::dashboard(a.extra);
    case Platform::Whop:
        return WhopSource::dashboard(a);
    case Platform::Dodo:
        return DodoSource::dashboard();
    }
    return std::nullopt;
}

}
