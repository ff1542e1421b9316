#pragma once

#include "core/SaleEvent.h"

#include <QJsonValue>
#include <optional>

// One edge of the Admin API's orders list as a sale: titled after its first
// line item (" + N more" for the others read, " (test)" for test orders).
// Nothing for a malformed node or a cancelled order.
std::optional<SaleEvent> shopifyOrderEvent(const QJsonValue &edge, const QUuid &account);
