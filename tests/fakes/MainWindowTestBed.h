#pragma once

#include "FakeSystemTray.h"
#include "FakeWorkspace.h"
#include "ListedDesktop.h"
#include "RecordingHelperActions.h"
#include "TestSettings.h"
#include "VirtualClock.h"
#include "discovery/AppDiscovery.h"
#include "discovery/FolderExchange.h"
#include "model/FolderStore.h"
#include "model/HelperLaunchLog.h"
#include "platform/FileIconCache.h"
#include "platform/FileIcons.h"
#include "platform/Updater.h"
#include "settings/Localization.h"
#include "ui/MainWindowEnvironment.h"

#include <QUuid>

// The main window's world with the other processes faked: a test home, a store whose helper
// calls are recorded, virtual time and the bundle's real string tables.
struct MainWindowTestBed {
    MainWindowTestBed()
        : settings(makeTestSettings(home, clock))
        , localization(QStringLiteral(TRELLIN_BUNDLE_DIR "/Contents/Resources"),
                       [this] { return settings->language(); })
        , launchLog(clock)
        , store(home.applicationSupport(),
                {
                    .clock = clock,
                    .scheduler = clock,
                    .notifications = home.localNotifications,
                    .helpers = helpers,
                    .launchLog = launchLog,
                    .isHelperProcess = [] { return false; },
                })
        , environment{.store = store,
                      .settings = *settings,
                      .localization = localization,
                      .scheduler = clock,
                      .clock = clock,
                      .distributedNotifications = home.distributedNotifications,
                      .icons = icons,
                      .discovery = discovery,
                      .exchange = exchange,
                      .workspace = workspace,
                      .updater = updater,
                      .systemTray = tray,
                      .appIcon =
                          FileIcons::bundleIconFile(QStringLiteral(TRELLIN_BUNDLE_DIR), 256).value_or(QImage())} {}

    // A folder of `apps` applications named "App 1", "App 2", … (the built bundle stands for each).
    static AppFolder folder(const QString& name, int apps, bool inDock = false) {
        AppFolder folder(QUuid::createUuid(), name, QStringLiteral("folder"), 0);
        folder.isInDock = inDock;
        for (int i = 1; i <= apps; ++i)
            folder.apps.append({QUuid::createUuid(), QStringLiteral("App %1").arg(i),
                                QStringLiteral("app.example.%1").arg(i),
                                AppItem::fileURLForPath(QStringLiteral(TRELLIN_BUNDLE_DIR), true)});
        return folder;
    }

    TestHome home;
    VirtualClock clock;
    std::unique_ptr<AppSettings> settings;
    Localization localization;
    RecordingHelperActions helpers;
    HelperLaunchLog launchLog;
    FolderStore store;
    FileIconCache icons{[](const QString&, int size) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::darkCyan);
        return image;
    }};
    // Bundles the picker finds: those made under the test home's Applications folder.
    AppDiscovery discovery{{.bundleDirectories = {home.path(QStringLiteral("Applications"))},
                            .desktopEntries = nullptr,
                            .language = [this] { return localization.languageCode(); }}};
    FakeWorkspace workspace;
    // The desktop's entries and app-grid folders, empty until a test lists some.
    ListedEntries desktopEntries;
    ListedAppFolders desktopAppFolders;
    FolderExchange exchange{{.store = store,
                             .clock = clock,
                             .desktopEntries = desktopEntries,
                             .desktopAppFolders = &desktopAppFolders,
                             .bundleDirectories = {home.path(QStringLiteral("Applications"))},
                             .language = [this] { return localization.languageCode(); }}};
    // Counts the checks for updates the pages ask for.
    struct CountingUpdater final : Updater {
        void start() override { ++starts; }
        void checkForUpdates() override { ++checks; }
        int starts = 0;
        int checks = 0;
    } updater;
    // A desktop with a tray, unless a test takes it down.
    FakeSystemTray tray{true};
    MainWindowEnvironment environment;
};
