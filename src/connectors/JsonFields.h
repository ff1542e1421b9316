#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <initializer_list>
#include <optional>

// Reading platform JSON where a field of the wrong type counts as absent.
namespace Json {

// The value at a path of object keys; undefined when any step is missing or
// not an object.
QJsonValue at(const QJsonValue &root, std::initializer_list<QLatin1String> path);

std::optional<QString> string(const QJsonValue &value);
// Non-empty text only.
std::optional<QString> text(const QJsonValue &value);
// A number with no fraction that fits 64 bits (1200, 1200.0); not "1200".
std::optional<qint64> wholeNumber(const QJsonValue &value);
std::optional<double> number(const QJsonValue &value);
std::optional<bool> boolean(const QJsonValue &value);

// Empty when the value is not an object / array.
QJsonObject object(const QJsonValue &value);
QJsonArray array(const QJsonValue &value);
// The elements of an array that are objects, in order.
QList<QJsonObject> objects(const QJsonValue &value);

}
