#pragma once

#include "core/SaleEvent.h"

#include <QJsonObject>
#include <QUuid>
#include <optional>

// How Lemon Squeezy's orders and subscription invoices become events.
namespace LemonSqueezyEvents {

// When an element was created; nothing for one without a text id, an
// attributes object or a readable `created_at`.
std::optional<QDateTime> createdAt(const QJsonObject &element);

// A paid order is a sale and a failed one a failed payment; any other
// status gives nothing.
std::optional<SaleEvent> order(const QJsonObject &element, const QDateTime &at,
                               const QUuid &account);

// Only renewals count (the first invoice's order was already reported): paid
// gives a renewal, pending a failed renewal, anything else nothing.
std::optional<SaleEvent> invoice(const QJsonObject &element, const QDateTime &at,
                                 const QUuid &account);

}
