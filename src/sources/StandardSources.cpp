#include "sources/StandardSources.h"
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

// Connectors join here: one include and one line each.

SourceRegistry standardSources()
{
    SourceRegistry r;
    r.add(Platform::Gumroad, SourceEntry::of<GumroadSource>());
    r.add(Platform::Stripe, SourceEntry::of<StripeSource>());
    r.add(Platform::Shopify, SourceEntry::of<ShopifySource>());
    r.add(Platform::ShopifyPartner, SourceEntry::of<ShopifyPartnerSource>());
    r.add(Platform::LemonSqueezy, SourceEntry::of<LemonSqueezySource>());
    r.add(Platform::Paddle, SourceEntry::of<PaddleSource>());
    r.add(Platform::Polar, SourceEntry::of<PolarSource>());
    r.add(Platform::Dodo, SourceEntry::of<DodoSource>());
    r.add(Platform::Square, SourceEntry::of<SquareSource>());
    r.add(Platform::WooCommerce, SourceEntry::of<WooCommerceSource>());
    r.add(Platform::Whop, SourceEntry::of<WhopSource>());
    return r;
}
