// Bursts of requests: a lone request runs at once, a burst runs once per interval, and the last
// request of a burst is never left without a run.
#include "platform/Throttle.h"

#include "VirtualClock.h"

#include <QTest>

class ThrottleTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void loneRequestsRunAtOnceAndBurstsOncePerInterval() {
        VirtualClock clock;
        int state = 0;
        QList<int> seen; // the state each run found
        QList<int> bursts;
        Throttle throttle(clock, 0.25, [&] { seen.append(state); });
        throttle.setBurstEndHandler([&](int requests) { bursts.append(requests); });

        state = 1;
        throttle.request();
        QCOMPARE(seen, QList<int>{1});
        clock.advance(0.3);
        QCOMPARE(bursts, QList<int>{1});

        // Sixty requests a second for a second: the first at once, then one run per interval,
        // each with the state of its moment, and the last state after the burst.
        seen.clear();
        for (int step = 1; step <= 60; ++step) {
            state = step;
            throttle.request();
            clock.advance(1.0 / 60);
        }
        QVERIFY(seen.size() <= 5);
        QCOMPARE(seen.first(), 1);
        clock.advance(0.25);
        QCOMPARE(seen.last(), 60);
        QVERIFY(seen.size() <= 6);
        QVERIFY(!throttle.isPending());
        clock.advance(0.25);
        QCOMPARE(bursts, (QList<int>{1, 60}));

        // Quiet again: the next request is answered at once.
        seen.clear();
        throttle.request();
        QCOMPARE(seen.size(), 1);
    }

    void requestsFromTheWorkItselfWaitTheirTurn() {
        VirtualClock clock;
        int runs = 0;
        std::unique_ptr<Throttle> throttle;
        throttle = std::make_unique<Throttle>(clock, 0.1, [&] {
            if (++runs < 3)
                throttle->request();
        });
        throttle->request();
        QCOMPARE(runs, 1);
        clock.advance(0.1);
        QCOMPARE(runs, 2);
        clock.advance(0.1);
        QCOMPARE(runs, 3);
        clock.advance(1);
        QCOMPARE(runs, 3);
    }

    void aThrottleGoneRunsNothingMore() {
        VirtualClock clock;
        int runs = 0;
        auto throttle = std::make_unique<Throttle>(clock, 0.1, [&] { ++runs; });
        throttle->request();
        throttle->request();
        QVERIFY(throttle->isPending());
        throttle.reset();
        clock.advance(1);
        QCOMPARE(runs, 1);
        QCOMPARE(clock.pendingCount(), 0);
    }
};

QTEST_GUILESS_MAIN(ThrottleTest)
#include "ThrottleTest.moc"
