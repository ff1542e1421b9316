#pragma once

#include "connectors/KeySource.h"

#include <QUrl>
#include <optional>

// Whop product names, remembered for the life of the process in
// SourceCaches::whopProductNames. Only successful look-ups are remembered, so
// a product whose look-up failed is asked for again next time.
namespace WhopProducts {

inline const QString fallbackTitle = QStringLiteral("Whop sale");

// The title of a payment for `productId`: the remembered name, else the
// product's title or name from the API, else "Whop sale".
QCoro::Task<QString> title(SourceContext ctx, QUrl base, QString secret,
                           std::optional<QString> productId);

}
