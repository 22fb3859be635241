#pragma once

#include "DockStateMonitor.h"
#include "platform/FileEvents.h"
#include "platform/FileStamp.h"

#include <QHash>
#include <QObject>
#include <QUuid>

#include <functional>
#include <memory>
#include <optional>

class Clock;
class DockHost;
class DockHeight;
class FolderStore;
class HelperLaunchLog;
class HelperManager;
class InstanceEndings;
class Scheduler;
class WorkItem;
struct AppFolder;

// Notices, without polling, that the user took a folder's tile out of the Dock, and marks that
// folder as out of the Dock so that its helper goes. It watches the HelperState folder and the
// Dock's preferences file, and the helpers ending; after each change it compares every folder in
// the Dock with the Dock's list. A start-up grace period, the recent launches and a running
// helper keep a tile that is still being set up. When the system has no file watches left, it
// looks at what it cannot watch every few seconds instead, until a watch can be made again.
class DockStateReconciler final : public QObject, public DockStateMonitor {
    Q_OBJECT
public:
    struct Services {
        const Clock& clock;
        Scheduler& scheduler;
        FileEvents& fileEvents;
        InstanceEndings& helperEndings;
        FolderStore& store;
        HelperManager& helpers;
        HelperLaunchLog& launchLog;
        DockHeight& dockHeight;
        // Whether a notification comes from the Dock, or from this process speaking for the
        // user's dock: only they may say that a tile left it.
        std::function<bool(const Notification&)> isFromDock;
        // The user's own dock, when one stands for the Dock: its pins are watched instead of the
        // Linux Dock's preferences file.
        DockHost* host = nullptr;
    };

    static constexpr double startupGracePeriod = 6.0;
    static constexpr double startupReconcileDelay = 6.1;
    static constexpr double recentLaunchWindow = 2.5;
    static constexpr double helperTerminationCheckDelay = 0.08;
    static constexpr double watcherRestartDelay = 0.05;
    static constexpr double helperStateHandlerDelay = 0.05;
    static constexpr double dockPreferencesHandlerDelay = 0.03;
    static constexpr double helperEndRecheckDelay = 1.0;
    static constexpr double exhaustedWatchPollInterval = 3.0;
    static constexpr FileEvents::Events watchedEvents =
        FileEvents::Write | FileEvents::Delete | FileEvents::Rename | FileEvents::Attrib | FileEvents::Extend;

    explicit DockStateReconciler(Services services, QObject* parent = nullptr);
    ~DockStateReconciler() override;

    void startDockStateMonitoring() override;
    // "TRDockTilePinStateChanged" with "folderID" (UUID text) and "isPinned" (a Bool), honoured
    // only from the Dock: from anyone else on the bus it could take any folder out of the Dock.
    void handleDockTilePinStateChanged(const Notification& notification) override;

    // Without a pass over the folders: what the Dock was last known to say of each folder in it.
    const QHash<QUuid, bool>& dockPinnedStateByFolderID() const { return m_dockPinnedStateByFolderID; }
    bool hasPendingHelperTerminationCheck(const QUuid& folderID) const {
        return m_pendingHelperTerminationChecks.contains(folderID);
    }

private:
    enum class Watched { HelperState, DockPreferences };
    struct Watcher {
        std::unique_ptr<FileEvents::Watch> source;
        double handlerDelay;
        // While no watch can be made: the next look, and what the last one saw.
        std::shared_ptr<WorkItem> poll = nullptr;
        std::optional<FileStamp> lastSeen = std::nullopt;
    };

    void reconcileDockState(bool gracePeriodOver);
    void reconcileAfterEvent();
    void removeUnpinnedFolderFromDock(const AppFolder& folder);

    Watcher& watcher(Watched watched);
    QString watchedPath(Watched watched) const;
    void startWatcher(Watched watched);
    void handleWatcherEvents(Watched watched, FileEvents::Events fired);
    void rearmWatcher(Watched watched);
    // The Dock has not written its preferences yet: waits in their folder for the file to appear.
    void awaitDockPreferencesFile();
    void dockPreferencesFolderChanged(FileEvents::Events fired);
    // Out of file watches: looks at the object every few seconds until one can be made.
    void pollInsteadOfWatching(Watched watched);
    void pollWatched(Watched watched);
    void stopPolling(Watched watched);

    void scheduleHelperTerminationCheck(const QUuid& folderID);
    void cancelHelperTerminationCheck(const QUuid& folderID);
    void performHelperTerminationCheck(const QUuid& folderID);

    Services m_services;
    QHash<QUuid, bool> m_dockPinnedStateByFolderID;
    QHash<QUuid, std::shared_ptr<WorkItem>> m_pendingHelperTerminationChecks;
    Watcher m_helperStateWatcher{.source = nullptr, .handlerDelay = helperStateHandlerDelay};
    Watcher m_dockPreferencesWatcher{.source = nullptr, .handlerDelay = dockPreferencesHandlerDelay};
    std::unique_ptr<FileEvents::Watch> m_dockPreferencesFolderWatch;
    double m_dockStateStartupGraceUntil = 0;
    bool m_saidForeignPinState = false;
    bool m_saidWatchesExhausted = false;
};
