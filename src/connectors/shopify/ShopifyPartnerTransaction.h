#pragma once

#include "core/SaleEvent.h"

#include <QJsonValue>
#include <optional>

// One edge of the Partner API's transactions list as an event: adjustments
// are refunds, app subscriptions renewals, everything else a sale. Theme sales
// report their gross amount, the rest their net amount, signs as given.
// Nothing for a malformed node.
std::optional<SaleEvent> shopifyPartnerTransactionEvent(const QJsonValue &edge,
                                                        const QUuid &account);
