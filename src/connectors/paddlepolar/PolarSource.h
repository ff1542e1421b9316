#pragma once

#include "connectors/KeySource.h"

#include <QUrl>

// Polar: paid orders give sales and renewals. A token belongs to either the
// live or the sandbox API; which one is found by trying live first, and the
// account remembers the answer as `sandbox` = "1" in its extra values.
struct PolarSource {
    static constexpr double minInterval = 0;
    static constexpr int pageSize = 100; // one page per fetch
    // How far back renewals still waiting for their payment are looked for;
    // inside the four days the event store remembers.
    static constexpr int lateDays = 3;

    static QUrl liveBase();
    static QUrl sandboxBase();
    // The sandbox base when `extra` holds sandbox = "1" exactly.
    static QUrl host(const Extra &extra);

    static KeyHelp help();
    // "Polar", or "Polar (sandbox)" when only the sandbox accepts the token.
    static QCoro::Task<QString> verify(SourceContext ctx, QString secret, Extra extra);
    static QCoro::Task<Fetched> fetch(SourceContext ctx, QString secret, Extra extra, QUuid account,
                                      QDateTime since, QString resume = {});
    // The Polar dashboard, the sandbox one for a test account.
    static QUrl dashboard(const Extra &extra, const QString &label);
};
