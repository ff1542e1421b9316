#pragma once

#include "core/Account.h"
#include "core/SaleEvent.h"
#include "moments/TodaySummary.h"

#include <QDateTime>
#include <optional>

class NotchModel;

// What a share card can say about the day: the notch model's figures, or
// the stored ones when no app is running.
struct CardFigures {
    QDateTime now;
    QList<SaleEvent> sales; // today's, newest first
    QList<Account> accounts;
    std::optional<TodaySummary> framer; // present while Framer is connected

    static CardFigures of(const NotchModel &model, const QDateTime &now);
};
