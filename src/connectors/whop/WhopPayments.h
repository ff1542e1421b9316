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
// The product to name the payment after, when it names one: `product_id`, or
// `product.id` in the API's original shape.
std::optional<QString> productId(const QJsonObject &payment);
// The product's title when the payment carries it (the original shape's
// `product.title`), so that no look-up is needed.
std::optional<QString> productTitle(const QJsonObject &payment);
// A reported payment as an event with the given title.
SaleEvent event(const QJsonObject &payment, const QString &title, const QUuid &account);

}
