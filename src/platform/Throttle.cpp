#include "Throttle.h"

#include "Scheduler.h"

#include <utility>

Throttle::Throttle(Scheduler& scheduler, double intervalSeconds, std::function<void()> work)
    : m_scheduler(scheduler)
    , m_interval(intervalSeconds)
    , m_work(std::move(work)) {}

Throttle::~Throttle() {
    // The scheduled end holds this object; it must never run once the object is gone.
    if (m_intervalEnd)
        m_intervalEnd->cancel();
}

void Throttle::request() {
    ++m_requests;
    if (m_intervalEnd)
        m_pending = true;
    else
        run();
}

void Throttle::run() {
    m_pending = false;
    // Opened before the work runs, so a request the work makes itself waits for the next turn.
    m_intervalEnd = m_scheduler.schedule(m_interval, [this] { intervalEnded(); });
    m_work();
}

void Throttle::intervalEnded() {
    m_intervalEnd.reset();
    if (m_pending) {
        run();
        return;
    }
    const int requests = std::exchange(m_requests, 0);
    if (m_burstEnded)
        m_burstEnded(requests);
}
