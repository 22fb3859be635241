#pragma once

class AppDiscovery;
class AppSettings;
class Clock;
class DistributedNotifications;
class FileIconCache;
class FolderStore;
class Localization;
class Scheduler;
class Updater;

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
    Updater& updater;
};
