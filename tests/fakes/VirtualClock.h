#pragma once

#include "platform/Clock.h"
#include "platform/Scheduler.h"

#include <QList>

#include <memory>

// Time that moves only when a test advances it. Scheduled work runs during `advance`, in the
// order it falls due (scheduling order for equal times), with "now" set to its due time.
class VirtualClock final : public Clock, public Scheduler {
public:
    explicit VirtualClock(double start = 1'800'000'000.0)
        : m_now(start) {}

    double now() const override { return m_now; }
    std::shared_ptr<WorkItem> schedule(double delaySeconds, std::function<void()> work) override;
    using Scheduler::schedule;

    void advance(double seconds);
    // Items scheduled and neither run nor cancelled.
    int pendingCount() const;

private:
    struct Item;
    double m_now;
    quint64 m_sequence = 0;
    QList<std::shared_ptr<Item>> m_items;
};
