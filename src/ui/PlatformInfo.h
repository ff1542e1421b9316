#pragma once

#include <QObject>
#include <QtQml/qqmlregistration.h>

// Platform names and brand colours for the views, by raw value. A table
// with no state, so one shared instance serves every view.
class PlatformInfo : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
public:
    using QObject::QObject;
    Q_INVOKABLE static QString name(const QString &raw);
    Q_INVOKABLE static QString hex(const QString &raw);
    // The first letter of the name, shown where a logo would be.
    Q_INVOKABLE static QString initial(const QString &raw);
};
