#pragma once

#include "core/Account.h"
#include "core/SaleEvent.h"
#include "moments/Moment.h"
#include "moments/TodaySummary.h"

#include <QVariant>
#include <optional>

// The model's values as the views read them: maps with the same field
// names, null for "none".
namespace QmlValues {
QVariantMap of(const Moment &moment);
QVariantMap of(const TodaySummary &summary);
QVariantMap of(const SaleEvent &event);
QVariantMap of(const Account &account);
// minor, currency and the unsigned display text.
QVariantMap of(const Money &money);
QVariantList list(const QList<SaleEvent> &events);
QVariantList list(const QList<Account> &accounts);

template <typename T>
QVariant optional(const std::optional<T> &value)
{
    if (!value)
        return QVariant();
    if constexpr (std::is_arithmetic_v<T> || std::is_same_v<T, QString>)
        return QVariant::fromValue(*value);
    else
        return of(*value);
}
}
