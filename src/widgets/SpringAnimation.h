#pragma once

#include "Spring.h"

#include <QAbstractAnimation>

// A value that follows a spring to its target, driven by the toolkit's animation clock (so a
// test can step it with an animation driver of its own). A new target mid-way keeps the current
// value and speed, as a spring that is pulled elsewhere does.
class SpringAnimation final : public QAbstractAnimation {
    Q_OBJECT
public:
    SpringAnimation(Spring spring, double value, QObject* parent = nullptr);

    double value() const { return m_value; }
    double target() const { return m_target; }
    void setSpring(Spring spring) { m_spring = spring; }

    void animateTo(double target);
    // Jumps there, ending any motion.
    void setValue(double value);

    int duration() const override { return -1; }

Q_SIGNALS:
    void valueChanged(double value);

protected:
    void updateCurrentTime(int milliseconds) override;

private:
    void publish(double value);

    Spring m_spring;
    double m_value;
    double m_target;
    double m_startDisplacement = 0;
    double m_startVelocity = 0;
    double m_velocity = 0;
};
