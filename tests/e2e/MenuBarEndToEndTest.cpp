// The menu-bar item on a desktop whose tray comes and goes, with the Linux Dock: without a tray the
// application keeps its Dock tile; a tray that appears gets the item and the tile goes; when the
// tray goes the tile comes back. An XEmbed tray is seen as well as a StatusNotifier one.
#include "platform/linux/LinuxSystemTray.h"

#include "DesktopTestCase.h"
#include "RunningInDock.h"
#include "TestFiles.h"
#include "TrayWatcher.h"
#include "XSession.h"

#include <QDBusConnectionInterface>
#include <QSignalSpy>
#include <QTest>

#include <X11/Xlib.h>

using namespace XSession;

class MenuBarEndToEndTest : public DesktopTestCase {
    Q_OBJECT

    QString trellin() const { return QStringLiteral(TRELLIN_BUNDLE_DIR "/Contents/MacOS/Trellin"); }
    bool dockShowsTrellin() { return dockShowsRunning(m_connection, QStringLiteral(TRELLIN_BUNDLE_DIR)); }

    void startDock() {
        startProgram(QStringLiteral(TRELLIN_DOCK_EXE));
        QVERIFY(QTest::qWaitFor(
            [&] { return m_connection.interface()->isServiceRegistered("app.trellin.Dock").value(); }, 10000));
    }

private Q_SLOTS:
    void init() { setUpDesktop(); }
    void cleanup() { tearDownDesktop(); }

    void theDockTileStaysUntilATrayCanTakeIt() {
        prepareMenuBarUser();
        startDock();
        startProgram(trellin());
        QString window;
        QTRY_VERIFY_WITH_TIMEOUT(!(window = windowTitled("Trellin")).isEmpty(), 15000);
        QTRY_VERIFY_WITH_TIMEOUT(dockShowsTrellin(), 10000);
        QTest::qWait(800);
        QVERIFY2(dockShowsTrellin(), "with no tray to show the menu-bar item in, the Dock tile went");

        // The general settings say why the switch has no effect.
        QVERIFY(run({"windowactivate", "--sync", window}));
        QVERIFY(run({"key", "ctrl+comma"}));
        QTest::qWait(600);
        saveScreen(QStringLiteral("menu-bar-no-tray-settings.png"));

        TrayWatcher tray;
        QVERIFY(tray.publish(m_connection));
        QTRY_COMPARE_WITH_TIMEOUT(tray.items().size(), 1, 5000);
        QTRY_VERIFY_WITH_TIMEOUT(!dockShowsTrellin(), 5000);

        // The panel quits: the tile comes back; it starts again: the item registers anew.
        tray.withdraw();
        QTRY_VERIFY_WITH_TIMEOUT(dockShowsTrellin(), 5000);
        QVERIFY(tray.publish(m_connection));
        QTRY_COMPARE_WITH_TIMEOUT(tray.items().size(), 2, 5000);
        QTRY_VERIFY_WITH_TIMEOUT(!dockShowsTrellin(), 5000);
    }

    // An XEmbed tray takes the screen's tray selection and says so on the root window; when its
    // window ends, the selection has no owner.
    void anXEmbedTrayIsSeenComingAndGoing() {
        Display* display = XOpenDisplay(nullptr);
        QVERIFY(display);
        LinuxSystemTray tray(LinuxSystemTray::XEmbedTrays, m_connection);
        QSignalSpy turns(&tray, &SystemTray::availabilityChanged);
        QVERIFY(!tray.isAvailable());

        const Window root = DefaultRootWindow(display);
        const QByteArray selectionName = "_NET_SYSTEM_TRAY_S" + QByteArray::number(DefaultScreen(display));
        const Atom selection = XInternAtom(display, selectionName.constData(), False);
        const Window owner = XCreateSimpleWindow(display, root, 0, 0, 1, 1, 0, 0, 0);
        XSetSelectionOwner(display, selection, owner, CurrentTime);
        XEvent manager{};
        manager.xclient.type = ClientMessage;
        manager.xclient.window = root;
        manager.xclient.message_type = XInternAtom(display, "MANAGER", False);
        manager.xclient.format = 32;
        manager.xclient.data.l[0] = CurrentTime;
        manager.xclient.data.l[1] = long(selection);
        manager.xclient.data.l[2] = long(owner);
        XSendEvent(display, root, False, StructureNotifyMask, &manager);
        XFlush(display);
        QTRY_VERIFY_WITH_TIMEOUT(tray.isAvailable(), 5000);

        // Found at once by one that starts while the tray runs.
        QVERIFY(LinuxSystemTray(LinuxSystemTray::XEmbedTrays, m_connection).isAvailable());

        XDestroyWindow(display, owner);
        XFlush(display);
        QTRY_VERIFY_WITH_TIMEOUT(!tray.isAvailable(), 5000);
        QCOMPARE(turns.size(), 2);
        XCloseDisplay(display);
    }
};

QTEST_MAIN(MenuBarEndToEndTest)
#include "MenuBarEndToEndTest.moc"
