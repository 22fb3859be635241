#include "SpringAnimation.h"

#include <cmath>

namespace {

// Close enough to rest to stop: a hundredth of a point, or of a unit of opacity or scale.
constexpr double kRestDistance = 1e-3;
constexpr double kRestSpeed = 1e-2;

} // namespace

SpringAnimation::SpringAnimation(Spring spring, double value, QObject* parent)
    : QAbstractAnimation(parent)
    , m_spring(spring)
    , m_value(value)
    , m_target(value) {}

void SpringAnimation::animateTo(double target) {
    m_target = target;
    if (std::abs(m_value - target) < kRestDistance && std::abs(m_velocity) < kRestSpeed) {
        stop();
        publish(target);
        return;
    }
    m_startDisplacement = m_value - target;
    m_startVelocity = m_velocity;
    // Restarting rewinds the clock, so time counts from this target on.
    stop();
    start();
}

void SpringAnimation::setValue(double value) {
    stop();
    m_target = value;
    m_velocity = 0;
    publish(value);
}

void SpringAnimation::updateCurrentTime(int milliseconds) {
    const double t = milliseconds / 1000.0;
    const double displacement = m_spring.displacement(t, m_startDisplacement, m_startVelocity);
    m_velocity = m_spring.velocity(t, m_startDisplacement, m_startVelocity);
    if (std::abs(displacement) < kRestDistance && std::abs(m_velocity) < kRestSpeed) {
        // Stopped first, so observers of the last value see a spring at rest.
        m_velocity = 0;
        stop();
        publish(m_target);
        return;
    }
    publish(m_target + displacement);
}

void SpringAnimation::publish(double value) {
    if (value == m_value)
        return;
    m_value = value;
    Q_EMIT valueChanged(value);
}
