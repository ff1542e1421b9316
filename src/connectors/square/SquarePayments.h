#pragma once

#include "core/SaleEvent.h"

#include <QHash>
#include <QJsonObject>
#include <QJsonValue>
#include <QStringList>

// Reading Square's payments and orders answers into sale events.
namespace SquarePayments {

constexpr qsizetype maxOrderIds = 100;

// The payments of a list answer whose status is COMPLETED or FAILED, in order.
QList<QJsonObject> kept(const QJsonValue &answer);
// Their order ids, in order; they are looked up maxOrderIds at a time.
QStringList orderIds(const QList<QJsonObject> &payments);
// The ids of the active locations in a locations answer, in order.
QStringList activeLocations(const QJsonValue &answer);
// Order id → title from a batch-retrieve answer; orders without named items have none.
QHash<QString, QString> orderTitles(const QJsonValue &answer);
// One payment as an event, or nothing when it lacks an id or a readable time.
std::optional<SaleEvent> event(const QJsonObject &payment, const QHash<QString, QString> &titles,
                               const QUuid &account);

}
