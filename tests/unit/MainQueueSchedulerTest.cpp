#include "platform/linux/MainQueueScheduler.h"

#include <QElapsedTimer>
#include <QStringList>
#include <QTest>

#include <cmath>

// The real timer backend, with delays of a few tens of milliseconds.
class MainQueueSchedulerTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void runsEachItemOnceInDelayOrder() {
        MainQueueScheduler scheduler;
        QStringList ran;
        // The handles are dropped at once: the items still run.
        scheduler.schedule(0.030, [&] { ran << "30ms"; });
        scheduler.schedule(0.010, [&] { ran << "10ms"; });
        scheduler.schedule(0.020, [&] { ran << "20ms"; });
        scheduler.schedule(std::nan(""), [&] { ran << "nan"; });
        scheduler.schedule(-1, [&] { ran << "negative"; });
        QVERIFY2(ran.isEmpty(), "never inside schedule()");
        QTRY_COMPARE_WITH_TIMEOUT(ran, QStringList({"nan", "negative", "10ms", "20ms", "30ms"}), 1000);
        QTest::qWait(20);
        QCOMPARE(ran.size(), 5);
    }

    void neverRunsBeforeItsDelay() {
        MainQueueScheduler scheduler;
        QElapsedTimer elapsed;
        qint64 ranAfterNs = -1;
        elapsed.start();
        scheduler.schedule(0.0205, [&] { ranAfterNs = elapsed.nsecsElapsed(); }); // not 20 ms
        QTRY_VERIFY_WITH_TIMEOUT(ranAfterNs >= 0, 1000);
        QVERIFY2(ranAfterNs >= 20'500'000, qPrintable(QString::number(ranAfterNs)));
    }

    void cancellation() {
        MainQueueScheduler scheduler;
        bool cancelledRan = false;
        bool laterRan = false;
        auto item = scheduler.schedule(0.010, [&] { cancelledRan = true; });
        item->cancel();
        QVERIFY(item->isCancelled());
        scheduler.schedule(0.030, [&] { laterRan = true; });
        QTRY_VERIFY_WITH_TIMEOUT(laterRan, 1000);
        QVERIFY(!cancelledRan);

        // Too late once it ran: nothing changes.
        int runs = 0;
        auto done = scheduler.schedule(0, [&] { ++runs; });
        QTRY_COMPARE_WITH_TIMEOUT(runs, 1, 500);
        done->cancel();
        QVERIFY(!done->isCancelled());
    }

    void pendingWorkDiesWithTheScheduler() {
        bool ran = false;
        auto scheduler = std::make_unique<MainQueueScheduler>();
        auto item = scheduler->schedule(0.010, [&] { ran = true; });
        scheduler.reset();
        QTest::qWait(40);
        QVERIFY(!ran);
        item->cancel(); // the handle outlives the scheduler safely
    }
};

QTEST_GUILESS_MAIN(MainQueueSchedulerTest)
#include "MainQueueSchedulerTest.moc"
