#pragma once

#include <QColor>
#include <QObject>
#include <QtQml/qqmlregistration.h>

// The colours every view draws with, all sRGB.
class ColorTokens : public QObject {
    Q_OBJECT
    QML_ANONYMOUS
    Q_PROPERTY(QColor page READ page CONSTANT)
    Q_PROPERTY(QColor ink READ ink CONSTANT)
    Q_PROPERTY(QColor island READ island CONSTANT)
    Q_PROPERTY(QColor fg READ fg CONSTANT)
    Q_PROPERTY(QColor fg64 READ fg64 CONSTANT)
    Q_PROPERTY(QColor fg14 READ fg14 CONSTANT)
    Q_PROPERTY(QColor fg08 READ fg08 CONSTANT)
    Q_PROPERTY(QColor fg06 READ fg06 CONSTANT)
    Q_PROPERTY(QColor ghost READ ghost CONSTANT)
    Q_PROPERTY(QColor ghostStroke READ ghostStroke CONSTANT)
    Q_PROPERTY(QColor yellow READ yellow CONSTANT)
    Q_PROPERTY(QColor good READ good CONSTANT)
    Q_PROPERTY(QColor warn READ warn CONSTANT)

public:
    using QObject::QObject;

    static QColor page() { return QColor(16, 16, 14); } // window and card background
    static QColor ink() { return QColor(13, 13, 11); }
    static QColor island() { return Qt::black; }
    static QColor fg() { return QColor(244, 242, 236); } // text
    static QColor fg64() { return withOpacity(fg(), 0.64); }
    static QColor fg14() { return withOpacity(fg(), 0.14); }
    static QColor fg08() { return withOpacity(fg(), 0.08); }
    static QColor fg06() { return withOpacity(fg(), 0.06); }
    static QColor ghost() { return withOpacity(ink(), 0.55); }
    static QColor ghostStroke() { return withOpacity(fg(), 0.1); }
    static QColor yellow() { return QColor(255, 224, 58); } // the accent
    static QColor good() { return QColor(91, 227, 125); }
    static QColor warn() { return QColor(255, 159, 10); }

private:
    static QColor withOpacity(QColor color, double opacity)
    {
        color.setAlphaF(float(opacity));
        return color;
    }
};
