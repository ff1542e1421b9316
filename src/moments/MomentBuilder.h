#pragma once

#include "core/SaleEvent.h"
#include "moments/Moment.h"

#include <optional>

// Turns the events one check found new into the single moment that plays
// for them. Refunds and failed payments never play.
namespace MomentBuilder {
// None when nothing among the events is a sale or a renewal.
std::optional<Moment> momentFor(const QList<SaleEvent> &events);
// The signed sum of the amounts ("+$24"), or none when any amount is missing,
// the currencies differ or there are no events. The sum saturates.
std::optional<QString> total(const QList<SaleEvent> &events);
}
