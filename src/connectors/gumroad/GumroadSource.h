#pragma once

#include "connectors/KeySource.h"
#include "connectors/QueryUrl.h"

#include <QJsonObject>

// Reads a Gumroad account's sales. The sales list filters by calendar day
// only, so we ask from the day before the cut-off and drop older sales here.
struct GumroadSource {
    static constexpr double minInterval = 0;
    static constexpr int pageLimit = 5;

    static QUrl base();
    static KeyHelp help();
    static QCoro::Task<QString> verify(SourceContext ctx, QString secret, Extra extra);
    static QCoro::Task<Fetched> fetch(SourceContext ctx, QString secret, Extra extra, QUuid account,
                                      QDateTime since, QString resume = {});

    // The sales page of Gumroad's web application.
    static QUrl dashboard();

    // The `after` day: the UTC calendar date one day before `since`.
    static QString dayBefore(const QDateTime &since);

private:
    static QCoro::Task<QJsonObject> get(SourceContext ctx, QString path, QueryItems query,
                                        QString secret);
};
