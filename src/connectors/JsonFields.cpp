#include "connectors/JsonFields.h"

#include <cmath>

namespace Json {

QJsonValue at(const QJsonValue &root, std::initializer_list<QLatin1String> path)
{
    QJsonValue value = root;
    for (const QLatin1String key : path) {
        if (!value.isObject())
            return QJsonValue(QJsonValue::Undefined);
        value = value.toObject().value(key);
    }
    return value;
}

std::optional<QString> string(const QJsonValue &value)
{
    return value.isString() ? std::optional(value.toString()) : std::nullopt;
}

std::optional<QString> text(const QJsonValue &value)
{
    const auto s = string(value);
    return s && !s->isEmpty() ? s : std::nullopt;
}

std::optional<qint64> wholeNumber(const QJsonValue &value)
{
    if (!value.isDouble())
        return std::nullopt;
    const double d = value.toDouble();
    // Integers parsed from the text keep their exact value in toInteger().
    const qint64 exact = value.toInteger(std::numeric_limits<qint64>::min());
    if (exact != std::numeric_limits<qint64>::min() && double(exact) == d)
        return exact;
    if (!std::isfinite(d) || d != std::floor(d) || std::abs(d) >= 9.2e18)
        return std::nullopt;
    return qint64(d);
}

std::optional<double> number(const QJsonValue &value)
{
    return value.isDouble() ? std::optional(value.toDouble()) : std::nullopt;
}

std::optional<bool> boolean(const QJsonValue &value)
{
    return value.isBool() ? std::optional(value.toBool()) : std::nullopt;
}

QJsonObject object(const QJsonValue &value)
{
    return value.toObject();
}

QJsonArray array(const QJsonValue &value)
{
    return value.toArray();
}

QList<QJsonObject> objects(const QJsonValue &value)
{
    QList<QJsonObject> list;
    // A const array: iterating a shared temporary would copy it first.
    const QJsonArray elements = value.toArray();
    for (const QJsonValue &element : elements)
        if (element.isObject())
            list.append(element.toObject());
    return list;
}

}
