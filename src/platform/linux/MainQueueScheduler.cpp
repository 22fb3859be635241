#include "MainQueueScheduler.h"

#include <QObject>
#include <QTimer>

#include <climits>
#include <cmath>

namespace {

class TimerWorkItem : public WorkItem {
public:
    explicit TimerWorkItem(std::function<void()> work)
        : m_work(std::move(work)) {}

    void cancel() override {
        if (m_state != State::Pending)
            return;
        m_state = State::Cancelled;
        m_work = nullptr; // release what the work captured now, not when the timer fires
    }

    bool isCancelled() const override { return m_state == State::Cancelled; }

    void fire() {
        if (m_state != State::Pending)
            return;
        m_state = State::Started;
        // Moved out first, so the work may cancel or drop its own handle while it runs.
        const std::function<void()> work = std::move(m_work);
        m_work = nullptr;
        if (work)
            work();
    }

private:
    enum class State { Pending, Started, Cancelled };
    State m_state = State::Pending;
    std::function<void()> m_work;
};

int delayMilliseconds(double delaySeconds) {
    if (!(delaySeconds > 0)) // also catches NaN
        return 0;
    const double milliseconds = std::ceil(delaySeconds * 1000.0);
    // QTimer takes an int; longer delays (beyond 24 days) are held at the largest it accepts.
    return milliseconds >= double(INT_MAX) ? INT_MAX : int(milliseconds);
}

} // namespace

MainQueueScheduler::MainQueueScheduler()
    : m_context(std::make_unique<QObject>()) {}

MainQueueScheduler::~MainQueueScheduler() = default;

std::shared_ptr<WorkItem> MainQueueScheduler::schedule(double delaySeconds, std::function<void()> work) {
    auto item = std::make_shared<TimerWorkItem>(std::move(work));
    // The timer holds the item, so it runs even when the caller keeps no handle. A precise
    // timer never fires early; coarse ones (Qt's default above 2 s) may by up to 5 %.
    QTimer::singleShot(delayMilliseconds(delaySeconds), Qt::PreciseTimer, m_context.get(), [item] { item->fire(); });
    return item;
}
