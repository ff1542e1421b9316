#pragma once

#include "connectors/KeySource.h"
#include "core/Account.h"

#include <QUrl>

// Whop's REST API (v1) with a company API key: paid payments as sales or
// renewals, uncollectible ones as failed payments, each named after its
// product. Production or sandbox, as the key check found.
struct WhopSource {
    static constexpr double minInterval = 0;

    static KeyHelp help();
    // The API base ("…/api/v1/") of the account's environment.
    static QUrl host(const Extra &extra);
    // Whop's dashboard, or the sandbox's for a sandbox account.
    static QUrl dashboard(const Account &account);

    static QCoro::Task<QString> verify(SourceContext ctx, QString secret, Extra extra);
    static QCoro::Task<Fetched> fetch(SourceContext ctx, QString secret, Extra extra, QUuid account,
                                      QDateTime since, QString resume = {});
};
