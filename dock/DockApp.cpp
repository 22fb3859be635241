#include "DockApp.h"

#include "DockController.h"
#include "DockFile.h"
#include "DockService.h"
#include "DockTiles.h"
#include "DockWindow.h"

#include "platform/FileIconCache.h"
#include "platform/linux/DBusDistributedNotifications.h"
#include "platform/linux/InotifyFileEvents.h"
#include "platform/linux/LinuxApplication.h"
#include "platform/linux/LinuxWorkspace.h"
#include "platform/linux/PlistUserDefaults.h"
#include "platform/linux/QtScreens.h"

#include <QApplication>

#include <cstdio>

int DockApp::run(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("trellin-dock"));
    QApplication::setQuitOnLastWindowClosed(false);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        std::fprintf(stderr, "trellin-dock: no session bus\n");
        return 1;
    }

    // SIGTERM and SIGINT end the Dock through the normal quit path.
    LinuxApplication process(bus);
    process.installTerminationSignalHandlers();

    DockTiles tiles;
    FileIconCache icons;
    DockWindow window(tiles, icons, QtScreens().showsTranslucentWindows());
    DockFile file(PlistUserDefaults::standardPreferencesDirectory());
    LinuxWorkspace workspace;
    DBusDistributedNotifications notifications(bus);
    InotifyFileEvents fileEvents;
    DockService service(
        tiles,
        {.tileSize = [&window] { return window.tilePixels(); }, .tiles = [&window] { return window.tileRecords(); }},
        bus);
    DockController controller({.file = file,
                               .tiles = tiles,
                               .window = window,
                               .workspace = workspace,
                               .notifications = notifications,
                               .fileEvents = fileEvents,
                               .bus = bus});

    if (!service.publish()) {
        std::fprintf(stderr, "trellin-dock: another Dock is on the session bus\n");
        return 0;
    }
    controller.start();
    window.show();
    return QApplication::exec();
}
