#pragma once

#include "core/SaleEvent.h"

// The revenue of a list of events in its most frequent currency.
namespace Revenue {
// Sums the amounts in the currency most events are in (on a tie, the one met
// first); amounts in other currencies are left out. The sum saturates at the
// 64-bit limits rather than wrapping. No amounts: no revenue.
std::optional<Money> sum(const QList<SaleEvent> &events);
// Saturating addition of minor units or counts.
qint64 addSaturating(qint64 a, qint64 b);
}
