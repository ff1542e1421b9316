#pragma once

#include "connectors/KeySource.h"

#include <QUrl>

// Lemon Squeezy, read through its JSON:API dialect: orders give sales and
// failed payments, subscription invoices give renewals and failed renewals.
// A key made in test mode reads test orders; nothing else differs.
struct LemonSqueezySource {
    static constexpr double minInterval = 0;
    static constexpr int pageSize = 50;
    static constexpr int orderPageLimit = 5;

    // Every request path is appended to this root.
    static QUrl base();
    static KeyHelp help();
    static QCoro::Task<QString> verify(SourceContext ctx, QString secret, Extra extra);
    static QCoro::Task<Fetched> fetch(SourceContext ctx, QString secret, Extra extra, QUuid account,
                                      QDateTime since, QString resume = {});
    // The orders list of the Lemon Squeezy dashboard.
    static QUrl dashboard();

private:
    // Each reads up to its cap from page `first` and returns the page to go
    // on at, or 0 when it read to the end.
    static QCoro::Task<int> readOrders(SourceContext ctx, QString secret, QDateTime since,
                                       QUuid account, int first, QList<SaleEvent> &events);
    static QCoro::Task<int> readRenewals(SourceContext ctx, QString secret, QDateTime since,
                                         QUuid account, int page, QList<SaleEvent> &events);
};
