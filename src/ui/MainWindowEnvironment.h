#pragma once

#include <QImage>
#include <QString>

#include <functional>

class AppDiscovery;
class AppSettings;
class Clock;
class DockExtension;
class DistributedNotifications;
class FileIconCache;
class FolderExchange;
class FolderStore;
class Localization;
class Scheduler;
class SystemTray;
class Updater;
class Workspace;

// What the main window's views read and act through, shared by all of them.
struct MainWindowEnvironment {
    FolderStore& store;
    AppSettings& settings;
    const Localization& localization;
    Scheduler& scheduler;
    Clock& clock;
    DistributedNotifications& distributedNotifications;
    FileIconCache& icons;
    const AppDiscovery& discovery;
    // Export, import and the desktop's app folders.
    FolderExchange& exchange;
    // Where a folder's applications are opened ("Open all").
    Workspace& workspace;
    Updater& updater;
    // Whether the menu-bar item can show at all, for the settings that depend on it.
    const SystemTray& systemTray;
    // The application's icon as the bundle ships it, for the pages that show the program's mark;
    // null where the bundle has none.
    QImage appIcon;
    // The name of the dock the folders stand in now, for the General page; empty (or no function)
    // while none is known.
    std::function<QString()> activeDockName = {};
    // Trellin's extension for the dock in use, where that dock has one (GNOME Shell); null (or no
    // function) elsewhere, and the General page does not offer it.
    std::function<DockExtension*()> dockExtension = {};
};
