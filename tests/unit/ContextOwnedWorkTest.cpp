// Delayed work and observers that belong to an object end with it, without a guard of their own.
#include "platform/LifetimeBound.h"
#include "platform/LocalNotificationCenter.h"

#include "FakeDistributedNotifications.h"
#include "VirtualClock.h"

#include <QStringList>
#include <QTest>

#include <memory>

class ContextOwnedWorkTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void scheduledWorkEndsWithItsContext() {
        VirtualClock clock;
        QStringList ran;
        auto kept = std::make_unique<QObject>();
        auto gone = std::make_unique<QObject>();
        clock.schedule(kept.get(), 1, [&] { ran << "kept"; });
        clock.schedule(gone.get(), 1, [&] { ran << "gone"; });
        clock.schedule(2, [&] { ran << "unowned"; });
        // Work that schedules more for the same context; the context goes before the second step.
        clock.schedule(kept.get(), 0.5, [&] { clock.schedule(kept.get(), 2, [&] { ran << "after kept went"; }); });
        gone.reset();
        clock.advance(1);
        QCOMPARE(ran, QStringList{"kept"});
        kept.reset();
        clock.advance(5);
        QCOMPARE(ran, QStringList({"kept", "unowned"}));
        QCOMPARE(clock.pendingCount(), 0);
    }

    void localObserversEndWithTheirContext() {
        LocalNotificationCenter center;
        QStringList heard;
        auto first = std::make_unique<QObject>();
        auto second = std::make_unique<QObject>();
        // The first observer's handler destroys the second's context within the same post.
        center.addObserver("n", first.get(), [&](const Notification&) {
            heard << "first";
            second.reset();
        });
        center.addObserver("n", second.get(), [&](const Notification&) { heard << "second"; });
        center.addObserver("n", [&](const Notification&) { heard << "unowned"; });
        center.post("n");
        QCOMPARE(heard, QStringList({"first", "unowned"}));
        first.reset();
        center.post("n");
        QCOMPARE(heard, QStringList({"first", "unowned", "unowned"}));

        // A token still removes an owned observer early.
        QObject owner;
        const LocalNotificationCenter::Token token =
            center.addObserver("m", &owner, [&](const Notification&) { heard << "removed"; });
        center.removeObserver(token);
        center.post("m");
        QCOMPARE(heard.size(), 3);
    }

    void distributedObserversEndWithTheirContext() {
        FakeDistributedNotifications notifications;
        int heard = 0;
        auto owner = std::make_unique<QObject>();
        notifications.observe("TRThemeChanged", owner.get(), [&](const Notification&) { ++heard; });
        notifications.post("TRThemeChanged");
        owner.reset();
        notifications.post("TRThemeChanged");
        QCOMPARE(heard, 1);
    }

    void boundCallbacksAnswerEmptyOnceTheContextIsGone() {
        auto owner = std::make_unique<QObject>();
        const auto twice = boundTo(owner.get(), [](int n) { return QString::number(2 * n); });
        int calls = 0;
        const auto count = boundTo(owner.get(), [&calls] { ++calls; });
        QCOMPARE(twice(21), QString("42"));
        count();
        owner.reset();
        QCOMPARE(twice(21), QString());
        count();
        QCOMPARE(calls, 1);
    }
};

QTEST_GUILESS_MAIN(ContextOwnedWorkTest)
#include "ContextOwnedWorkTest.moc"
