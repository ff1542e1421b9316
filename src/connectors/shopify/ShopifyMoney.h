#pragma once

#include "core/Money.h"

#include <QJsonObject>
#include <optional>

// Reads Shopify's money objects ({"amount": "12.50", "currencyCode": "EUR"}),
// in the Admin and the Partner API alike. The amount must be text; a missing
// currency is taken as US dollars.
std::optional<Money> shopifyMoney(const QJsonObject &money);
