// A tray seen on a private session bus: a StatusNotifierWatcher that comes and goes, and its host
// that registers and unregisters, turn the availability, and each turn is told once.
#include "platform/linux/LinuxSystemTray.h"

#include "BusTestCase.h"
#include "TrayWatcher.h"

#include <QScopeGuard>
#include <QSignalSpy>
#include <QThread>

class LinuxSystemTrayTest : public BusTestCase {
    Q_OBJECT

private Q_SLOTS:
    void aWatcherWithAHostIsATray() {
        LinuxSystemTray tray(LinuxSystemTray::StatusNotifierHosts, newConnection());
        QSignalSpy turns(&tray, &SystemTray::availabilityChanged);
        QVERIFY(!tray.isAvailable());

        TrayWatcher watcher;
        QVERIFY(watcher.publish(bus().connect(QStringLiteral("panel"))));
        QTRY_VERIFY(tray.isAvailable());
        QCOMPARE(turns.size(), 1);

        // The panel's host goes while its watcher stays; another host comes.
        watcher.setHostRegistered(false);
        QTRY_VERIFY(!tray.isAvailable());
        watcher.setHostRegistered(true);
        QTRY_VERIFY(tray.isAvailable());
        QCOMPARE(turns.size(), 3);

        // The panel quits.
        watcher.withdraw();
        QDBusConnection::disconnectFromBus(QStringLiteral("panel"));
        QTRY_VERIFY(!tray.isAvailable());
        QTest::qWait(50);
        QCOMPARE(turns.size(), 4);
    }

    // What is there at start is known at once, so the first presentation is already right.
    void theTrayAtStartIsKnownAtOnce() {
        // The panel answers from a thread of its own, as from its own process, while the question
        // waits for it. Its watcher is made, published, withdrawn and deleted in that thread.
        QThread panel;
        panel.start();
        QObject inPanel;
        inPanel.moveToThread(&panel);
        const auto stopPanel = qScopeGuard([&panel] {
            panel.quit();
            panel.wait();
        });
        const auto onPanel = [&inPanel](const std::function<void()>& work) {
            QMetaObject::invokeMethod(&inPanel, work, Qt::BlockingQueuedConnection);
        };
        const QDBusConnection panelBus = bus().connect(QStringLiteral("early-panel"));
        std::unique_ptr<TrayWatcher> watcher;
        bool published = false;
        onPanel([&] {
            watcher = std::make_unique<TrayWatcher>();
            published = watcher->publish(panelBus);
        });
        QVERIFY(published);
        {
            const LinuxSystemTray tray(LinuxSystemTray::StatusNotifierHosts, newConnection());
            QVERIFY(tray.isAvailable());
            // Looking nowhere finds nothing.
            QVERIFY(!LinuxSystemTray(0, newConnection()).isAvailable());
        }
        onPanel([&] { watcher->setHostRegistered(false); });
        const LinuxSystemTray tray(LinuxSystemTray::StatusNotifierHosts, newConnection());
        QVERIFY(!tray.isAvailable());
        onPanel([&] {
            watcher->withdraw();
            watcher.reset();
        });
        QDBusConnection::disconnectFromBus(QStringLiteral("early-panel"));
    }
};

QTEST_GUILESS_MAIN(LinuxSystemTrayTest)
#include "LinuxSystemTrayTest.moc"
