#pragma once

#include "core/FramerRow.h"
#include "moments/TodaySummary.h"

// Builds today's Framer summary from one reading: the latest period counts,
// the one before it gives yesterday's remixes. Sums saturate.
TodaySummary summary(const QList<FramerRow> &rows, const QDateTime &now);
