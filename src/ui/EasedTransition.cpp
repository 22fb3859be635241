#include "EasedTransition.h"

#include "platform/Clock.h"
#include "platform/Scheduler.h"

#include <QEasingCurve>
#include <QPointF>

#include <algorithm>

namespace {

constexpr double frameInterval = 1.0 / 60;

QEasingCurve easeInOut() {
    QEasingCurve curve(QEasingCurve::BezierSpline);
    curve.addCubicBezierSegment(QPointF(0.42, 0), QPointF(0.58, 1), QPointF(1, 1));
    return curve;
}

} // namespace

EasedTransition::EasedTransition(Scheduler& scheduler, Clock& clock)
    : m_scheduler(scheduler)
    , m_clock(clock) {}

EasedTransition::~EasedTransition() {
    if (m_next)
        m_next->cancel();
}

double EasedTransition::eased(double progress) {
    static const QEasingCurve curve = easeInOut();
    return curve.valueForProgress(std::clamp(progress, 0.0, 1.0));
}

void EasedTransition::run(double durationSeconds, std::function<void(double)> step) {
    finish();
    m_step = std::move(step);
    m_start = m_clock.now();
    m_duration = durationSeconds;
    m_step(0);
    scheduleTick();
}

void EasedTransition::finish() {
    if (!m_step)
        return;
    if (m_next)
        m_next->cancel();
    // Cleared before the call, so the step function may start another run.
    std::function<void(double)> step = std::move(m_step);
    m_step = nullptr;
    step(1);
}

void EasedTransition::scheduleTick() {
    // The last frame falls on the end itself, not up to a frame after it.
    const double remaining = m_start + m_duration - m_clock.now();
    m_next = m_scheduler.schedule(std::clamp(remaining, 0.0, frameInterval), [this] {
        const double progress = m_duration > 0 ? (m_clock.now() - m_start) / m_duration : 1;
        if (progress >= 1 - 1e-9) {
            finish();
            return;
        }
        m_step(eased(progress));
        scheduleTick();
    });
}
