#pragma once

// Where Shopify lives. Every store's default address is a name under the store
// domain, and a store's key is only ever sent to a host under it.
namespace ShopifyHosts {
inline constexpr char storeDomain[] = "myshopify.com";
inline constexpr char devDashboard[] = "dev.shopify.com";
inline constexpr char partnerDashboard[] = "partners.shopify.com";
// The Admin and Partner APIs share their version names.
inline constexpr char apiVersion[] = "2026-10";
}
