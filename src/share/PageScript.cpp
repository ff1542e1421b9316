#include "share/PageScript.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

namespace {

// Whether JSON can carry the value as it is: Qt would otherwise turn an
// unknown type into null and a non-finite number into null without a word.
bool representable(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::UnknownType:
    case QMetaType::Nullptr:
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::QString:
        return true;
    case QMetaType::Double:
    case QMetaType::Float:
        return std::isfinite(value.toDouble());
    case QMetaType::QVariantList:
    case QMetaType::QStringList:
        for (const QVariant &item : value.toList())
            if (!representable(item))
                return false;
        return true;
    case QMetaType::QVariantMap:
        for (const QVariant &item : value.toMap())
            if (!representable(item))
                return false;
        return true;
    default:
        return false;
    }
}

QString call(const char *function, const QVariantMap &data, const QVariantMap &state)
{
    return QLatin1String(function) + u'(' + PageScript::json(data) + QStringLiteral(", ")
        + PageScript::json(state) + u')';
}

}

namespace PageScript {

QString json(const QVariant &value)
{
    if (!representable(value))
        return QStringLiteral("{}");
    const QJsonValue converted = QJsonValue::fromVariant(value);
    QJsonDocument doc;
    if (converted.isObject())
        doc = QJsonDocument(converted.toObject());
    else if (converted.isArray())
        doc = QJsonDocument(converted.toArray());
    else
        return QStringLiteral("{}");
    return QString::fromUtf8(doc.toJson(QJsonDocument::Compact));
}

QString load(const QVariantMap &data, const QVariantMap &state)
{
    return call("KV.load", data, state);
}

QString exportCard(const QVariantMap &data, const QVariantMap &state)
{
    return call("KV.exportCard", data, state);
}

QString toast(const QString &message)
{
    return QStringLiteral("KV.toast(") + json(QVariantList{message}) + QStringLiteral("[0])");
}

}
