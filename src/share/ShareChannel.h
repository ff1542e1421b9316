#pragma once

#include <QObject>
#include <QVariantMap>

// The "kv" channel our share page posts to through the web channel. Bodies
// that are not dictionaries with a text `action` are dropped here.
class ShareChannel : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    Q_INVOKABLE void postMessage(const QVariant &body);

Q_SIGNALS:
    void message(const QString &action, const QVariantMap &body);
};
