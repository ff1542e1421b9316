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
    static QCoro::Task<QList<SaleEvent>> fetch(SourceContext ctx, QString secret, Extra extra,
                                               QUuid account, QDateTime since);
    // The orders list of the Lemon Squeezy dashboard.
    static QUrl dashboard();
};
