#pragma once

#include "DockPreferences.h"
#include "HelperBundleBuilder.h"
#include "HelperState.h"
#include "model/HelperTileActions.h"

#include <QHash>
#include <QObject>

#include <memory>

class Bundle;
class Clock;
class DistributedNotifications;
class HelperLaunchLog;
class LocalNotificationCenter;
class PreferenceDomain;
class Scheduler;
class SystemLog;
class WorkItem;
class Workspace;

// Owns the helper bundles and their marker files: starts, stops, rebuilds and removes the
// helper process of each folder in the Dock, and relays appearance changes to the helpers.
class HelperManager : public QObject, public HelperTileActions {
    Q_OBJECT
public:
    struct Services {
        Clock& clock;
        Scheduler& scheduler;
        Workspace& workspace;
        DistributedNotifications& distributedNotifications;
        LocalNotificationCenter& localNotifications;
        SystemLog& systemLog;
        PreferenceDomain& dockDomain;
        const Bundle& mainBundle;
        HelperLaunchLog& launchLog;
        QString applicationSupportDirectory;
        QString dockPreferencesPath;
        QString signingTool;
        // The user's own dock, where one stands for the Dock; otherwise the Linux Dock's
        // preferences keep the folders' tiles.
        FolderDockTiles* hostTiles = nullptr;
    };

    explicit HelperManager(Services services, QObject* parent = nullptr);
    ~HelperManager() override;

    HelperBundleBuilder& builder() { return m_builder; }
    const DockPreferences& dockPreferences() const { return m_dockPreferences; }
    DockPreferences& dockPreferences() { return m_dockPreferences; }
    // Where the folders' tiles are kept: the user's dock, or the Linux Dock's preferences.
    FolderDockTiles& dockTiles();
    const HelperState& state() const { return m_state; }

    void launchHelper(const QString& helperPath, const QUuid& folderID);
    void recreateAndLaunchHelper(const AppFolder& folder) override;
    void removeHelper(const QUuid& folderID, bool preserve) override;
    void syncHelpers(const QList<AppFolder>& folders) override;
    void scheduleDockRemoval(const AppFolder& folder, double delaySeconds) override;
    void cancelDockRemoval(const QUuid& folderID) override;
    void putFolderInDock(const AppFolder& folder) override;
    void rebuildHelper(const AppFolder& folder) override;
    void removeFolderFromDock(const AppFolder& folder) override;

    void refreshHelperIfOutdated(const AppFolder& folder, const QString& helperPath);
    bool isHelperRunning(const QString& helperPath) const;

    void updateAllHelperTiles();
    void refreshAllHelperPopups();

private:
    // Asks every running copy of the bundle to quit.
    void terminateRunning(const QString& bundlePath);
    void postOffBadge(const QUuid& folderID, bool hide);
    // One line naming the bundles in the helpers folder that this application did not build.
    void reportLeftAlone(QStringList names);

    Services m_services;
    HelperBundleBuilder m_builder;
    HelperState m_state;
    DockPreferences m_dockPreferences;
    QHash<QUuid, std::shared_ptr<WorkItem>> m_offTimers;
    QStringList m_reportedLeftAlone;
};
