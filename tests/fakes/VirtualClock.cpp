#include "VirtualClock.h"

#include <algorithm>

struct VirtualClock::Item final : WorkItem {
    double due = 0;
    quint64 sequence = 0;
    std::function<void()> work;
    bool cancelled = false;
    bool ran = false;

    void cancel() override { cancelled = true; }
    bool isCancelled() const override { return cancelled; }
};

std::shared_ptr<WorkItem> VirtualClock::schedule(double delaySeconds, std::function<void()> work) {
    auto item = std::make_shared<Item>();
    item->due = m_now + std::max(0.0, delaySeconds);
    item->sequence = m_sequence++;
    item->work = std::move(work);
    m_items.append(item);
    return item;
}

void VirtualClock::advance(double seconds) {
    const double end = m_now + seconds;
    for (;;) {
        // Work may schedule more work; pick the earliest due item each time.
        std::shared_ptr<Item> next;
        for (const auto& item : m_items) {
            if (item->ran || item->cancelled || item->due > end)
                continue;
            if (!next || item->due < next->due || (item->due == next->due && item->sequence < next->sequence))
                next = item;
        }
        if (!next)
            break;
        m_now = std::max(m_now, next->due);
        next->ran = true;
        next->work();
    }
    m_items.removeIf([](const auto& item) { return item->ran || item->cancelled; });
    m_now = end;
}

int VirtualClock::pendingCount() const {
    return int(
        std::count_if(m_items.begin(), m_items.end(), [](const auto& item) { return !item->ran && !item->cancelled; }));
}
