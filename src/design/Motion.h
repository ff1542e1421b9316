#pragma once

#include <QEasingCurve>
#include <QObject>
#include <QPointF>
#include <QtQml/qqmlregistration.h>

// One named animation: its timing curve and duration in milliseconds.
// In QML: `NumberAnimation { easing: T.M.swap.easing; duration: T.M.swap.duration }`.
class Motion : public QObject {
    Q_OBJECT
    QML_ANONYMOUS
    Q_PROPERTY(QEasingCurve easing READ easing CONSTANT)
    Q_PROPERTY(int duration READ duration CONSTANT)

public:
    Motion(QEasingCurve easing, int duration, QObject *parent = nullptr)
        : QObject(parent), m_easing(std::move(easing)), m_duration(duration)
    {
    }
    QEasingCurve easing() const { return m_easing; }
    int duration() const { return m_duration; }

    // A cubic timing curve through (0, 0), the two control points and (1, 1).
    static QEasingCurve cubic(QPointF c1, QPointF c2)
    {
        QEasingCurve curve(QEasingCurve::BezierSpline);
        curve.addCubicBezierSegment(c1, c2, QPointF(1, 1));
        return curve;
    }

private:
    QEasingCurve m_easing;
    int m_duration;
};
