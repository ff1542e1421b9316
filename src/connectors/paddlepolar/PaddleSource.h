#pragma once

#include "connectors/KeySource.h"

#include <QUrl>

// Paddle Billing: one list, transactions, gives sales, renewals and failed
// renewals. The key alone decides between the live and sandbox APIs.
struct PaddleSource {
    static constexpr double minInterval = 0;
    static constexpr int pageSize = 30;
    static constexpr int pageLimit = 5; // requests per fetch

    static QUrl liveBase();
    static QUrl sandboxBase();
    // A key that contains "sdbx" anywhere belongs to the sandbox.
    static bool isSandboxKey(const QString &secret);

    static KeyHelp help();
    static QCoro::Task<QString> verify(SourceContext ctx, QString secret, Extra extra);
    static QCoro::Task<Fetched> fetch(SourceContext ctx, QString secret, Extra extra, QUuid account,
                                      QDateTime since, QString resume = {});
    // The transactions list of the vendor dashboard, the sandbox one for a
    // test account.
    static QUrl dashboard(const Extra &extra, const QString &label);
};
