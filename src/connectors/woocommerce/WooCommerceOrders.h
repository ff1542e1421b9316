#pragma once

#include "core/SaleEvent.h"

#include <QJsonObject>

// Reading WooCommerce orders into sale events.
namespace WooCommerceOrders {

// An order in a reported status (processing, completed, on-hold, failed) as
// an event; nothing for other statuses or without a whole-number id. A sale
// is dated when it was paid, else when it was created; an order without
// either date is dated `now`.
std::optional<SaleEvent> event(const QJsonObject &order, const QUuid &account,
                               const QDateTime &now);

}
