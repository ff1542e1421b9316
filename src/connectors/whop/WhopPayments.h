#pragma once

#include "core/SaleEvent.h"

#include <QJsonObject>
#include <QJsonValue>

// Reading Whop's payments into sale events.
namespace WhopPayments {

// The payment objects of a list answer, in order.
QList<QJsonObject> all(const QJsonValue &answer);
// Whether a payment becomes an event: an id, a readable time and status
// paid or uncollectible. Checked before its product is looked up.
bool reported(const QJsonObject &payment);
// The product to name the payment after, when it names one.
std::optional<QString> productId(const QJsonObject &payment);
// A reported payment as an event with the given title.
SaleEvent event(const QJsonObject &payment, const QString &title, const QUuid &account);

}
