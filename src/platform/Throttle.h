#pragma once

#include <functional>
#include <memory>

class Scheduler;
class WorkItem;

// Turns a stream of requests into runs of one piece of work: a request after a quiet spell runs
// it at once, later ones wait for the end of the interval that run opened and share one run
// there. So a single request is answered promptly, a burst costs one run per interval, and the
// last request of a burst is always followed by a run that sees the latest state.
class Throttle {
public:
    Throttle(Scheduler& scheduler, double intervalSeconds, std::function<void()> work);
    ~Throttle();

    Throttle(const Throttle&) = delete;
    Throttle& operator=(const Throttle&) = delete;

    void request();
    // A request is waiting for the end of the current interval.
    bool isPending() const { return m_pending; }
    // Called once a burst is over (an interval ended with no request waiting), with the number of
    // requests it took.
    void setBurstEndHandler(std::function<void(int requests)> handler) { m_burstEnded = std::move(handler); }

private:
    void run();
    void intervalEnded();

    Scheduler& m_scheduler;
    double m_interval;
    std::function<void()> m_work;
    std::function<void(int)> m_burstEnded;
    std::shared_ptr<WorkItem> m_intervalEnd; // none: quiet, the next request runs at once
    bool m_pending = false;
    int m_requests = 0;
};
