#pragma once

#include "core/SaleEvent.h"

#include <QJsonObject>
#include <optional>

// One element of Gumroad's sales list as a sale event.
namespace GumroadSale {

struct Read {
    std::optional<SaleEvent> event; // nothing when the sale is unusable or too old
    bool old = false;               // created before the cut-off
};

Read read(const QJsonObject &sale, const QUuid &account, const QDateTime &since);

}
