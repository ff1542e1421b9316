#pragma once

#include "connectors/KeySource.h"
#include "core/HttpRequest.h"

#include <QDateTime>
#include <optional>

// Whop product names, remembered for the life of the process in
// SourceCaches::whopProductNames. Only successful look-ups are remembered, so
// a product whose look-up failed is asked for again next time.
namespace WhopProducts {

inline const QString fallbackTitle = QStringLiteral("Whop sale");

// The title of a payment for `productId`: the remembered name, else the
// product's title or name from the API, else "Whop sale". `request` is the
// look-up of that product. Makes no request once `until` has passed on the
// context's clock, and none lasts beyond it.
QCoro::Task<QString> title(SourceContext ctx, std::optional<QString> productId, HttpRequest request,
                           QDateTime until);

// Whether a product id can name a request path: a plain token ("prod_…").
bool plainToken(const QString &id);

}
