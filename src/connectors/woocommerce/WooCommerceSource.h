#pragma once

#include "connectors/KeySource.h"

#include <QUrl>
#include <optional>

// A self-hosted WooCommerce shop through its REST API (v3), with a consumer
// key and secret sent as Basic authorisation. The shop must use https.
struct WooCommerceSource {
    static constexpr double minInterval = 0;
    static constexpr int pageSize = 50;
    static inline const QString exampleSite = QStringLiteral("https://shop.example.com");

    static KeyHelp help();
    // The shop address from extra "site", completed with https:// and without
    // trailing slashes; throws the https sentence for anything else.
    static QString site(const Extra &extra);
    // The shop's orders page in its WordPress admin; none when the address is refused.
    static std::optional<QUrl> dashboard(const Extra &extra);

    static QCoro::Task<QString> verify(SourceContext ctx, QString secret, Extra extra);
    static QCoro::Task<Fetched> fetch(SourceContext ctx, QString secret, Extra extra, QUuid account,
                                      QDateTime since, QString resume = {});
};
