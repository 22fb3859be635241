#pragma once

#include "RuntimePorts.h"
#include "model/HelperTileActions.h"

#include <QHash>
#include <QObject>
#include <QStringList>
#include <QUuid>

#include <optional>

class Application;
class Clock;
class DistributedNotifications;
class FolderStore;
class HelperState;
class LocalNotificationCenter;
class RunMode;
class Updater;
class UserDefaults;

// Decides whether this process is the main application or a folder's helper, and drives
// that mode from launch to termination.
class AppDelegate : public QObject, public HelperLaunchStamps {
    Q_OBJECT
public:
    struct Services {
        Clock& clock;
        UserDefaults& defaults;
        LocalNotificationCenter& localNotifications;
        DistributedNotifications& distributedNotifications;
        Application& application;
        RunMode& runMode;
        FolderStore& store;
        const HelperState& helperState;
        HelperRuntime& helpers;
        SettingsRuntime& settings;
        TilePresenter& tile;
        PopupPresenter& popup;
        DockStateMonitor& dockMonitor;
        MainWindowPresenter& mainWindow;
        Updater& updater;
        QStringList arguments; // the process arguments, program name first
    };

    explicit AppDelegate(Services services, QObject* parent = nullptr);
    ~AppDelegate() override;

    // The delegate of this process while it exists.
    static AppDelegate* shared();

    void applicationWillFinishLaunching();
    void applicationDidFinishLaunching();
    void applicationDidBecomeActive();
    // Always false: a reopen never asks the platform to open a window of its own.
    bool applicationShouldHandleReopen(bool hasVisibleWindows);
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

    void recordHelperLaunch(const QUuid& folderID, double unixTime) override;
    const QHash<QUuid, double>& recentHelperLaunchDates() const { return m_recentHelperLaunchDates; }

    const std::optional<QUuid>& pendingInitialHelperPopupFolderID() const {
        return m_pendingInitialHelperPopupFolderID;
    }
    bool shouldIgnoreNextHelperReopen() const { return m_shouldIgnoreNextHelperReopen; }
    bool hasHandledInitialReopen() const { return m_hasHandledInitialReopen; }
    bool didApplyInitialMainAppPresentation() const { return m_didApplyInitialMainAppPresentation; }
    double cachedDockHeight() const { return m_cachedDockHeight; }
    double lastPopupCloseTime() const { return m_lastPopupCloseTime; }

private:
    // The folder of this helper, when this process is one and its folder still exists.
    std::optional<AppFolder> helperFolder() const;
    void startHelper(const AppFolder& folder);
    void startMainApplication();
    void applyInitialMainAppPresentation();
    void observeDistributedNotifications();
    // True for a badge notification whose "id" names this helper's folder.
    bool isForThisHelper(const Notification& notification) const;

    Services m_services;
    std::optional<QUuid> m_pendingInitialHelperPopupFolderID;
    bool m_shouldIgnoreNextHelperReopen = false;
    bool m_hasHandledInitialReopen = false;
    QHash<QUuid, double> m_recentHelperLaunchDates;
    bool m_didApplyInitialMainAppPresentation = false;
    double m_cachedDockHeight = 0;
    double m_lastPopupCloseTime = -1e300; // the distant past
};
