#include "Scheduler.h"

#include "LifetimeBound.h"

std::shared_ptr<WorkItem> Scheduler::schedule(const QObject* context, double delaySeconds, std::function<void()> work) {
    return schedule(delaySeconds, boundTo(context, std::move(work)));
}
