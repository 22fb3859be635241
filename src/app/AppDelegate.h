#pragma once

#include "DockStateMonitor.h"
#include "MainWindowPresenter.h"
#include "platform/Application.h"
#include "platform/Clock.h"
#include "platform/Throttle.h"
#include "popup/PopupPresenter.h"

#include <QObject>
#include <QUuid>

#include <optional>

class AppSettings;
class Application;
class DistributedNotifications;
class DockHeight;
class DockPreferences;
class FolderStore;
class HelperState;
class HelperTileActions;
class LocalNotificationCenter;
class RunMode;
class Scheduler;
class SystemTray;
class TilePresenter;
class Updater;
class UserDefaults;

// Decides whether this process is the main application or a folder's helper, and drives
// that mode from launch to termination.
class AppDelegate : public QObject {
    Q_OBJECT
public:
    struct Services {
        const Clock& clock;
        Scheduler& scheduler;
        UserDefaults& defaults;
        LocalNotificationCenter& localNotifications;
        DistributedNotifications& distributedNotifications;
        Application& application;
        const RunMode& runMode;
        FolderStore& store;
        AppSettings& settings;
        HelperTileActions& helpers;
        const HelperState& helperState;
        const DockPreferences& dockPreferences;
        DockHeight& dockHeight;
        TilePresenter& tile;
        PopupPresenter& popup;
        DockStateMonitor& dockMonitor;
        MainWindowPresenter& mainWindow;
        Updater& updater;
        // Whether the menu-bar item can show, which decides whether the application may leave the Dock.
        const SystemTray& systemTray;
    };

    // Any bus client can post the reload notifications, and a moving slider posts dozens a second:
    // each kind reloads at once when it comes alone, and at most once per this interval in a burst,
    // the last time after the burst's last notification.
    static constexpr double reloadInterval = 0.1;

    explicit AppDelegate(Services services, QObject* parent = nullptr);
    ~AppDelegate() override;

    void applicationWillFinishLaunching();
    void applicationDidFinishLaunching();
    void applicationDidBecomeActive();
    // Always false: a reopen never asks the platform to open a window of its own.
    bool applicationShouldHandleReopen(bool hasVisibleWindows);
    // A helper asked to show its popup from elsewhere than its tile; the main application has none.
    void applicationShouldShowPopup();
    bool applicationShouldTerminateAfterLastWindowClosed() const { return false; }
    void applicationWillTerminate();

    void openMainWindow();
    void openSettings();
    void updateMainAppPresentationMode();

    void updateDockTile();
    void refreshPopupSettings();
    void refreshTheme();
    void offBadge(const Notification& notification);
    void deleteBadge(const Notification& notification);

    const std::optional<QUuid>& pendingInitialHelperPopupFolderID() const {
        return m_pendingInitialHelperPopupFolderID;
    }
    bool shouldIgnoreNextHelperReopen() const { return m_shouldIgnoreNextHelperReopen; }
    bool hasHandledInitialReopen() const { return m_hasHandledInitialReopen; }
    bool didApplyInitialMainAppPresentation() const { return m_didApplyInitialMainAppPresentation; }

private:
    // The folder of this helper, when this process is one and its folder still exists.
    std::optional<AppFolder> helperFolder() const;
    void startHelper(const AppFolder& folder);
    void startMainApplication();
    // Opens the popup (or closes it when open) for a reopen or the helper's own launch.
    void presentPopup(const AppFolder& folder);
    void applyInitialMainAppPresentation();
    ActivationPolicy mainAppActivationPolicy() const;
    void observeDistributedNotifications();
    // True for a badge notification whose "id" names this helper's folder.
    bool isForThisHelper(const Notification& notification) const;

    Services m_services;
    Throttle m_tileReloads;
    Throttle m_popupReloads;
    Throttle m_themeReloads;
    std::optional<QUuid> m_pendingInitialHelperPopupFolderID;
    bool m_shouldIgnoreNextHelperReopen = false;
    bool m_hasHandledInitialReopen = false;
    bool m_didApplyInitialMainAppPresentation = false;
};
