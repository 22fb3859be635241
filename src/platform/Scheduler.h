#pragma once

#include <functional>
#include <memory>

class QObject;

// A one-shot piece of delayed work on the main thread that can be cancelled before it runs.
class WorkItem {
public:
    virtual ~WorkItem() = default;

    // A cancelled item never runs; cancelling one that already ran has no effect.
    virtual void cancel() = 0;
    virtual bool isCancelled() const = 0;
};

// Main-queue delayed work. An item runs once, even when the caller drops its handle.
class Scheduler {
public:
    virtual ~Scheduler() = default;

    virtual std::shared_ptr<WorkItem> schedule(double delaySeconds, std::function<void()> work) = 0;

    // Work that belongs to `context`: it does not run once the context is destroyed, so it may
    // use the context's members freely.
    std::shared_ptr<WorkItem> schedule(const QObject* context, double delaySeconds, std::function<void()> work);
};
