#include "share/ShareChannel.h"

#include <QJsonObject>
#include <QJsonValue>

namespace {
// The channel may hand over the page's object in its JSON form.
QVariant plain(const QVariant &value)
{
    if (value.typeId() == QMetaType::QJsonValue)
        return value.toJsonValue().toVariant();
    if (value.typeId() == QMetaType::QJsonObject)
        return value.toJsonObject().toVariantMap();
    return value;
}
}

void ShareChannel::postMessage(const QVariant &body)
{
    const QVariant value = plain(body);
    if (value.typeId() != QMetaType::QVariantMap)
        return;
    const QVariantMap map = value.toMap();
    const QVariant action = map.value(QStringLiteral("action"));
    if (action.typeId() != QMetaType::QString)
        return;
    Q_EMIT message(action.toString(), map);
}
