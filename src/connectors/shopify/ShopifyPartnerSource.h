#pragma once

#include "connectors/KeySource.h"
#include "core/Account.h"

#include <QJsonObject>
#include <QUrl>

// A Shopify Partner organisation's theme sales, app charges and their
// adjustments, read through the Partner API with a Partner API client token.
struct ShopifyPartnerSource {
    static constexpr double minInterval = 0;
    static constexpr int maxPages = 4;

    static const QString verifyQuery;
    static const QString transactionsQuery;

    static KeyHelp help();
    static QCoro::Task<QString> verify(SourceContext ctx, QString secret, Extra extra);
    static QCoro::Task<Fetched> fetch(SourceContext ctx, QString secret, Extra extra, QUuid account,
                                      QDateTime since, QString resume = {});

    // The digits of the Partner ID as typed (a pasted Dashboard address
    // works); empty when it has none.
    static QString partnerId(const Extra &extra);
    // The organisation's payouts page; the Partner Dashboard without an ID.
    static QUrl dashboard(const Account &account);

    // Posts a document to the organisation's Partner API; returns the answer's `data`.
    static QCoro::Task<QJsonObject> graphql(SourceContext ctx, QString query, QJsonObject variables,
                                            QString secret, Extra extra);
};
