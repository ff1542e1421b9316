#pragma once

#include <QFont>
#include <QObject>
#include <QtQml/qqmlregistration.h>

// The type styles. Sizes are logical pixels: the design's points are
// device-independent, which on this toolkit are pixels, not typographic
// points (those would grow everything by a third at 96 dpi).
class FontTokens : public QObject {
    Q_OBJECT
    QML_ANONYMOUS
    Q_PROPERTY(QFont hero READ hero CONSTANT)
    Q_PROPERTY(QFont title READ title CONSTANT)
    Q_PROPERTY(QFont statValue READ statValue CONSTANT)
    Q_PROPERTY(QFont momentAmount READ momentAmount CONSTANT)
    Q_PROPERTY(QFont sub READ sub CONSTANT)
    Q_PROPERTY(QFont statLabel READ statLabel CONSTANT)
    Q_PROPERTY(QFont body READ body CONSTANT)
    Q_PROPERTY(QFont chip READ chip CONSTANT)
    Q_PROPERTY(QFont meta READ meta CONSTANT)
    Q_PROPERTY(QFont button READ button CONSTANT)
    Q_PROPERTY(QFont label READ label CONSTANT)
    Q_PROPERTY(QFont rest READ rest CONSTANT)

public:
    using QObject::QObject;

    static QFont hero() { return display(32); }
    static QFont title() { return display(18); }
    static QFont statValue() { return display(40); }
    static QFont momentAmount() { return display(36); }
    static QFont sub() { return sans(14, QFont::Medium); }
    static QFont statLabel() { return sans(15, QFont::Normal); }
    static QFont body() { return sans(15, QFont::Normal); }
    static QFont chip() { return sans(13, QFont::Medium); }
    static QFont meta() { return sans(13, QFont::Medium); }
    static QFont button() { return sans(14, QFont::DemiBold); }
    static QFont label() { return sans(12, QFont::Medium); }
    static QFont rest() { return sans(13, QFont::DemiBold); }

private:
    static QFont make(const QString &family, int pixels, QFont::Weight weight)
    {
        QFont font(family);
        font.setPixelSize(pixels);
        font.setWeight(weight);
        return font;
    }
    static QFont display(int pixels)
    {
        return make(QStringLiteral("Funnel Display"), pixels, QFont::Medium);
    }
    static QFont sans(int pixels, QFont::Weight weight)
    {
        return make(QStringLiteral("Funnel Sans"), pixels, weight);
    }
};
