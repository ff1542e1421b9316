#pragma once

#include "connectors/KeySource.h"
#include "core/Account.h"

#include <QUrl>

// Square's REST API (v2): completed and failed payments, each named after the
// items of its order. Production or sandbox, as the key check found.
struct SquareSource {
    static constexpr double minInterval = 0;
    static inline const QByteArray apiVersion = "2026-09-16";

    static KeyHelp help();
    // The API base ("…/v2/") of the account's environment.
    static QUrl host(const Extra &extra);
    // The sales page of the Square dashboard; the Developer Console for a sandbox account.
    static QUrl dashboard(const Account &account);

    static QCoro::Task<QString> verify(SourceContext ctx, QString secret, Extra extra);
    static QCoro::Task<Fetched> fetch(SourceContext ctx, QString secret, Extra extra, QUuid account,
                                      QDateTime since, QString resume = {});
};
