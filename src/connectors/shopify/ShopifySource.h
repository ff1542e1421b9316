#pragma once

#include "connectors/KeySource.h"
#include "core/Account.h"

#include <QJsonObject>
#include <QUrl>

// The orders of one Shopify store, read through its GraphQL Admin API. Signs
// in with a Dev Dashboard app's client ID and secret (exchanged for a
// short-lived token, cached per store, app and secret) or, with no client ID, with an
// older custom app's permanent token pasted as the secret.
struct ShopifySource {
    static constexpr double minInterval = 0;
    static constexpr int ordersPerPage = 50;
    static constexpr int maxPages = 4;
    // A cached token is replaced this long before it expires.
    static constexpr qint64 tokenMarginSeconds = 120;
    // When the exchange does not say how long its token lasts.
    static constexpr qint64 defaultTokenLifetime = 86000;

    static const QString verifyQuery;
    static const QString ordersQuery;

    static KeyHelp help();
    static QCoro::Task<QString> verify(SourceContext ctx, QString secret, Extra extra);
    static QCoro::Task<Fetched> fetch(SourceContext ctx, QString secret, Extra extra, QUuid account,
                                      QDateTime since, QString resume = {});

    // The store's own host ("acme.myshopify.com") from the address as typed.
    // Throws SourceError for anything that is not a store address, before
    // any request, so a key never leaves for another host.
    static QString shopHost(const Extra &extra);
    // The store's orders page; empty when the address is not a store's.
    static QUrl dashboard(const Account &account);

    // The token to send: the cached or freshly exchanged access token, or the
    // secret itself when there is no client ID.
    static QCoro::Task<QString> token(SourceContext ctx, QString secret, Extra extra);
    // The cache key of an exchanged token: store, app and a digest of the secret.
    static QString tokenKey(const QString &host, const QString &clientId, const QString &secret);
    // Forgets the exchanged token of this store, app and secret, if any.
    static void dropToken(SourceContext ctx, const QString &secret, const Extra &extra);
    // Posts a document to the store's Admin API; returns the answer's `data`.
    // A token the store rejects (401) is dropped and exchanged once more.
    static QCoro::Task<QJsonObject> graphql(SourceContext ctx, QString query, QJsonObject variables,
                                            QString secret, Extra extra);
};
