#pragma once

#include "core/SaleEvent.h"

#include <QJsonObject>
#include <QUuid>
#include <optional>

// How Paddle's transactions become events.
namespace PaddleEvents {

// Paddle writes amounts as decimal integers in text ("2500", "+2500",
// "-300"); anything else (a decimal point, blanks, too many digits) is not one.
std::optional<qint64> minorUnits(const QString &text);

// Completed and paid transactions are sales (renewals when billed by a
// subscription), past-due ones failed payments; other statuses give nothing.
// `now` dates a transaction that carries no time of its own.
std::optional<SaleEvent> transaction(const QJsonObject &transaction, const QUuid &account,
                                     const QDateTime &now);

}
