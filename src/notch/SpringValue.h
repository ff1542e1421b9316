#pragma once

#include <QAbstractAnimation>
#include <QObject>
#include <QtQml/qqmlregistration.h>

// A number that follows `to` like a damped spring given by response (the
// period of the undamped oscillation, in seconds) and damping fraction (1:
// no overshoot), keeping its velocity when the target moves mid-flight.
// Runs on the animation timer, so it renders frames only while it moves.
//   SpringValue { id: w; to: model.islandSize.width
//                 response: model.animation.response; damping: model.animation.damping }
class SpringValue : public QAbstractAnimation {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(qreal to READ to WRITE setTo NOTIFY toChanged)
    Q_PROPERTY(qreal value READ value NOTIFY valueChanged)
    Q_PROPERTY(qreal response MEMBER m_response NOTIFY springChanged)
    Q_PROPERTY(qreal damping MEMBER m_damping NOTIFY springChanged)

public:
    explicit SpringValue(QObject *parent = nullptr);

    qreal to() const { return m_to; }
    // The first target is taken at once; later ones are sprung to.
    void setTo(qreal to);
    qreal value() const { return m_value; }
    int duration() const override { return -1; }

    // Position and velocity `t` seconds after leaving `x0` at `v0` towards
    // `target`: the closed form of the damped spring.
    struct State {
        qreal x, v;
    };
    static State at(qreal t, qreal x0, qreal v0, qreal target, qreal response, qreal damping);

Q_SIGNALS:
    void toChanged();
    void valueChanged();
    void springChanged();

protected:
    void updateCurrentTime(int ms) override;

private:
    qreal m_to = 0;
    qreal m_value = 0;
    qreal m_velocity = 0;
    qreal m_response = 0.5;
    qreal m_damping = 0.8;
    bool m_placed = false;
    // Where the current flight started.
    qreal m_x0 = 0;
    qreal m_v0 = 0;
};
