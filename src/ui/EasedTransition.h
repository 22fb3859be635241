#pragma once

#include <functional>
#include <memory>

class Clock;
class Scheduler;
class WorkItem;

// A value moving from 0 to 1 along the ease-in-out curve, stepped at frame rate by the scheduler
// and timed by the clock, so virtual time drives it as real time does. The step function sees the
// eased value, 0 at once and exactly 1 at the end.
class EasedTransition {
public:
    EasedTransition(Scheduler& scheduler, Clock& clock);
    ~EasedTransition();
    EasedTransition(const EasedTransition&) = delete;
    EasedTransition& operator=(const EasedTransition&) = delete;

    // Any earlier run ends first, at its end value.
    void run(double durationSeconds, std::function<void(double)> step);
    // Jumps to the end of a run in progress.
    void finish();
    bool isRunning() const { return bool(m_step); }

    // The ease-in-out curve at a linear progress from 0 to 1.
    static double eased(double progress);

private:
    void scheduleTick();

    Scheduler& m_scheduler;
    Clock& m_clock;
    std::function<void(double)> m_step;
    std::shared_ptr<WorkItem> m_next;
    double m_start = 0;
    double m_duration = 0;
};
