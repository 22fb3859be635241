#pragma once

#include "platform/Scheduler.h"

class QObject;

// Delayed work on the Qt main event loop. Work still pending when the scheduler is destroyed
// never runs, so nothing outlives the objects its owner tears down with it.
class MainQueueScheduler : public Scheduler {
public:
    MainQueueScheduler();
    ~MainQueueScheduler() override;

    MainQueueScheduler(const MainQueueScheduler&) = delete;
    MainQueueScheduler& operator=(const MainQueueScheduler&) = delete;

    // The delay is rounded up to whole milliseconds; a negative or NaN delay runs on the next
    // pass of the event loop, never inside this call.
    std::shared_ptr<WorkItem> schedule(double delaySeconds, std::function<void()> work) override;
    using Scheduler::schedule;

private:
    std::unique_ptr<QObject> m_context; // owns the pending timers
};
