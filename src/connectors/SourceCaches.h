#pragma once

#include <QDateTime>
#include <QHash>
#include <QString>

// What connectors remember for the life of the process, in memory only.
// One instance, owned by main and reached through SourceContext.
struct SourceCaches {
    struct ShopifyToken {
        QString accessToken;
        QDateTime expiry;
    };
    // Shopify access tokens by normalised store host, client ID and a digest
    // of the client secret (ShopifySource::tokenKey).
    QHash<QString, ShopifyToken> shopifyTokens;
    // Whop product names by product id; only successful look-ups.
    QHash<QString, QString> whopProductNames;
};
