#pragma once

#include "connectors/KeySource.h"

#include <QUrl>

// Dodo Payments: one list, payments, gives sales, subscription payments and
// failed payments. A key starting "dodo_test_" belongs to test mode and only
// ever goes to the test API; any other key only to the live one.
struct DodoSource {
    static constexpr double minInterval = 0;
    static constexpr int pageSize = 100; // one page per fetch

    static QUrl liveBase();
    static QUrl testBase();
    static bool isTestKey(const QString &secret);

    static KeyHelp help();
    static QCoro::Task<QString> verify(SourceContext ctx, QString secret, Extra extra);
    static QCoro::Task<Fetched> fetch(SourceContext ctx, QString secret, Extra extra, QUuid account,
                                      QDateTime since, QString resume = {});
    // The Dodo Payments dashboard, for live and test accounts alike.
    static QUrl dashboard();
};
