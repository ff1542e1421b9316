#pragma once

#include "connectors/KeySource.h"
#include "connectors/QueryUrl.h"
#include "core/Account.h"
#include "core/HttpRequest.h"

#include <QUrl>

// A platform API served from a production and a sandbox host (Square, Whop).
// Which one an account uses was found when its key was checked and is kept
// as extra sandbox = "1"; every request of the account goes there.
struct SandboxedApi {
    QUrl production;
    QUrl sandbox;
    QUrl productionDashboard;
    QUrl sandboxDashboard;
    // Sent with every request besides the bearer key (an API version).
    QList<HttpRequest::Header> headers;

    // The API base of the account's environment.
    QUrl base(const Extra &extra) const;
    // The dashboard of the account's environment; a label from before the
    // sandbox flag existed counts too.
    QUrl dashboard(const Account &account) const;
    // A GET of `path` below `base`, with the key as bearer token.
    HttpRequest request(const Extra &extra, const QString &path, const QString &secret,
                        const QueryItems &query = {}) const;
};
