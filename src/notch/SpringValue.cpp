#include "notch/SpringValue.h"

#include <cmath>

namespace {
// Closer than this, and slower than this per second, the spring is at rest.
constexpr qreal restDistance = 0.01;
constexpr qreal restSpeed = 0.05;
}

SpringValue::SpringValue(QObject *parent) : QAbstractAnimation(parent)
{
}

void SpringValue::setTo(qreal to)
{
    if (m_placed && to == m_to)
        return;
    m_to = to;
    Q_EMIT toChanged();
    if (!m_placed) {
        m_placed = true;
        m_value = to;
        Q_EMIT valueChanged();
        return;
    }
    // Start a new flight from where the value is now, at its speed.
    m_x0 = m_value;
    m_v0 = m_velocity;
    if (state() == QAbstractAnimation::Running)
        setCurrentTime(0);
    else
        start();
}

void SpringValue::updateCurrentTime(int ms)
{
    const State s = at(ms / 1000.0, m_x0, m_v0, m_to, m_response, m_damping);
    const bool settled = std::abs(s.x - m_to) < restDistance && std::abs(s.v) < restSpeed;
    m_value = settled ? m_to : s.x;
    m_velocity = settled ? 0 : s.v;
    Q_EMIT valueChanged();
    if (settled)
        stop();
}

SpringValue::State SpringValue::at(qreal t, qreal x0, qreal v0, qreal target, qreal response,
                                   qreal damping)
{
    const qreal omega = 2 * M_PI / std::max<qreal>(response, 0.01);
    const qreal zeta = std::clamp<qreal>(damping, 0.01, 1.0);
    const qreal a = x0 - target;
    if (zeta >= 1.0) { // critically damped
        const qreal b = v0 + omega * a;
        const qreal e = std::exp(-omega * t);
        return {target + (a + b * t) * e, (b - omega * (a + b * t)) * e};
    }
    const qreal wd = omega * std::sqrt(1 - zeta * zeta);
    const qreal b = (v0 + zeta * omega * a) / wd;
    const qreal e = std::exp(-zeta * omega * t);
    const qreal c = std::cos(wd * t);
    const qreal s = std::sin(wd * t);
    const qreal x = e * (a * c + b * s);
    const qreal v = -zeta * omega * x + e * (-a * wd * s + b * wd * c);
    return {target + x, v};
}
