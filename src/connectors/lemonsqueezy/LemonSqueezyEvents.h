#pragma once

#include "core/SaleEvent.h"

#include <QHash>
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

// Subscription id → product name, from the `included` subscriptions of an
// invoices answer asked for with include=subscription.
QHash<QString, QString> subscriptionProducts(const QJsonValue &included);

// Only renewals count (the first invoice's order was already reported): paid
// gives a renewal, failed a failed renewal; pending (still waiting for its
// payment) and anything else nothing. Titled with the product of the
// subscription it bills, from `products`.
std::optional<SaleEvent> invoice(const QJsonObject &element, const QDateTime &at,
                                 const QUuid &account, const QHash<QString, QString> &products);

}
