#pragma once

#include "connectors/KeySource.h"
#include "core/Account.h"

#include <QUrl>
#include <chrono>

// Whop's REST API (v1) with a company API key: paid payments as sales or
// renewals, uncollectible ones as failed payments, each named after its
// product. Production or sandbox, as the key check found.
struct WhopSource {
    static constexpr double minInterval = 0;
    // Product look-ups cost a request each; a busy account's hundred new
    // products would not fit the poller's limit, and a fetch that never
    // finishes never moves the cut-off. So looking up stops this long after
    // the fetch began and the remaining payments are titled "Whop sale".
    static constexpr std::chrono::seconds lookupBudget{30};

    static KeyHelp help();
    // The API base ("…/api/v1/") of the account's environment.
    static QUrl host(const Extra &extra);
    // Whop's dashboard, or the sandbox's for a sandbox account.
    static QUrl dashboard(const Account &account);

    static QCoro::Task<QString> verify(SourceContext ctx, QString secret, Extra extra);
    static QCoro::Task<Fetched> fetch(SourceContext ctx, QString secret, Extra extra, QUuid account,
                                      QDateTime since, QString resume = {});
};
