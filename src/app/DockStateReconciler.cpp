#include "DockStateReconciler.h"
#include "platform/Protocol.h"

#include "helpers/DockPreferences.h"
#include "helpers/HelperManager.h"
#include "helpers/HelperState.h"
#include "model/DockHeight.h"
#include "model/FolderID.h"
#include "model/FolderStore.h"
#include "model/HelperLaunchLog.h"
#include "platform/Clock.h"
#include "platform/Console.h"
#include "platform/DockHost.h"
#include "platform/InstanceEndings.h"
#include "platform/LifetimeBound.h"
#include "platform/Scheduler.h"

#include <QDir>
#include <QFileInfo>

DockStateReconciler::DockStateReconciler(Services services, QObject* parent)
    : QObject(parent)
    , m_services(services) {}

DockStateReconciler::~DockStateReconciler() {
    stopPolling(Watched::HelperState);
    stopPolling(Watched::DockPreferences);
    for (const std::shared_ptr<WorkItem>& check : std::as_const(m_pendingHelperTerminationChecks))
        check->cancel();
    m_pendingHelperTerminationChecks.clear();
}

void DockStateReconciler::startDockStateMonitoring() {
    m_dockStateStartupGraceUntil = m_services.clock.now() + startupGracePeriod;
    reconcileDockState(false);
    startWatcher(Watched::HelperState);
    if (m_services.host) {
        // The dock says when its pins change, or when it starts or goes.
        connect(m_services.host, &DockHost::changed, this, [this] {
            m_services.scheduler.schedule(this, dockPreferencesHandlerDelay, [this] { reconcileAfterEvent(); });
        });
    } else {
        startWatcher(Watched::DockPreferences);
    }

    // A tile removed while its helper ran is kept until that helper is gone; nothing else tells
    // when that is. The second pass is for a process still finishing after its name went.
    m_services.helperEndings.observeHelperEndings(boundTo(this, [this] {
        for (const double delay : {helperStateHandlerDelay, helperEndRecheckDelay})
            m_services.scheduler.schedule(this, delay, [this] { reconcileAfterEvent(); });
    }));

    m_services.scheduler.schedule(this, startupReconcileDelay, [this] { reconcileDockState(true); });
}

void DockStateReconciler::reconcileAfterEvent() {
    reconcileDockState(m_services.clock.now() >= m_dockStateStartupGraceUntil);
}

void DockStateReconciler::reconcileDockState(bool gracePeriodOver) {
    const double now = m_services.clock.now();
    // Folders that do not stand for the folders file are never taken out of the Dock.
    const bool mayRemove = gracePeriodOver && !m_services.store.foldersFileUnreadable();
    // The list as it stands now: removals below do not change the walk.
    const QList<AppFolder> folders = m_services.store.folders();
    for (const AppFolder& folder : folders) {
        if (!folder.isInDock)
            continue;
        FolderDockTiles& tiles = m_services.helpers.dockTiles();
        const std::optional<bool> kept = tiles.isFolderKept(folder);
        // A Dock that cannot be asked yet (still starting) has said nothing about any tile.
        if (!kept)
            continue;
        const bool pinned = *kept;
        const std::optional<QString> helper = m_services.helpers.builder().helperBundleURL(folder.id);
        const bool running = !tiles.pinIsWholeState() && helper && m_services.helpers.isHelperRunning(*helper);
        const auto launched = m_services.launchLog.recentHelperLaunchDates().constFind(folder.id);
        const bool recent =
            launched != m_services.launchLog.recentHelperLaunchDates().cend() && now - *launched < recentLaunchWindow;
        m_dockPinnedStateByFolderID.insert(folder.id, pinned);
        if (pinned)
            cancelHelperTerminationCheck(folder.id);
        else if (mayRemove && !running && !recent)
            removeUnpinnedFolderFromDock(folder);
    }

    QHash<QUuid, bool> kept;
    for (const AppFolder& folder : m_services.store.folders()) {
        const auto known = m_dockPinnedStateByFolderID.constFind(folder.id);
        if (folder.isInDock && known != m_dockPinnedStateByFolderID.cend())
            kept.insert(folder.id, *known);
    }
    m_dockPinnedStateByFolderID = kept;
}

void DockStateReconciler::removeUnpinnedFolderFromDock(const AppFolder& folder) {
    cancelHelperTerminationCheck(folder.id);
    m_services.launchLog.forget(folder.id);
    m_services.store.setFolderInDock(folder.id, false);
    m_services.helpers.syncHelpers(m_services.store.folders());
    m_dockPinnedStateByFolderID.remove(folder.id);
}

DockStateReconciler::Watcher& DockStateReconciler::watcher(Watched watched) {
    return watched == Watched::HelperState ? m_helperStateWatcher : m_dockPreferencesWatcher;
}

QString DockStateReconciler::watchedPath(Watched watched) const {
    return watched == Watched::HelperState ? m_services.helpers.state().helperStateDir()
                                           : m_services.helpers.dockPreferences().dockPreferencesPath();
}

void DockStateReconciler::startWatcher(Watched watched) {
    Watcher& w = watcher(watched);
    if (w.source)
        return;
    const QString path = watchedPath(watched);
    if (watched == Watched::HelperState)
        QDir().mkpath(path);

    FileEvents::Failure failure = FileEvents::Failure::CannotOpen;
    w.source = m_services.fileEvents.watch(
        path, watchedEvents,
        boundTo(this,
                [this, watched](FileEvents::Events fired) {
                    m_services.scheduler.schedule(this, watcher(watched).handlerDelay,
                                                  [this, watched, fired] { handleWatcherEvents(watched, fired); });
                }),
        &failure);

    if (w.source) {
        stopPolling(watched);
        if (watched == Watched::DockPreferences)
            m_dockPreferencesFolderWatch.reset();
    } else if (failure == FileEvents::Failure::Exhausted) {
        pollInsteadOfWatching(watched);
    } else if (watched == Watched::DockPreferences && !QFileInfo::exists(path)) {
        awaitDockPreferencesFile();
    }
}

void DockStateReconciler::handleWatcherEvents(Watched watched, FileEvents::Events fired) {
    reconcileAfterEvent();
    if (watched == Watched::DockPreferences)
        m_services.dockHeight.storeFromTileSize(m_services.helpers.dockPreferences().dockTileSize());
    if (fired & (FileEvents::Delete | FileEvents::Rename))
        rearmWatcher(watched);
}

void DockStateReconciler::rearmWatcher(Watched watched) {
    watcher(watched).source.reset();
    m_services.scheduler.schedule(this, watcherRestartDelay, [this, watched] { startWatcher(watched); });
}

void DockStateReconciler::awaitDockPreferencesFile() {
    if (m_dockPreferencesFolderWatch)
        return;
    const QString folder = QFileInfo(watchedPath(Watched::DockPreferences)).absolutePath();
    QDir().mkpath(folder);
    FileEvents::Failure failure = FileEvents::Failure::CannotOpen;
    // The file's creation, or its arrival by rename, is a change to the folder's entries.
    m_dockPreferencesFolderWatch = m_services.fileEvents.watch(
        folder, FileEvents::Write | FileEvents::Delete | FileEvents::Rename,
        boundTo(this,
                [this](FileEvents::Events fired) {
                    m_services.scheduler.schedule(this, dockPreferencesHandlerDelay,
                                                  [this, fired] { dockPreferencesFolderChanged(fired); });
                }),
        &failure);
    if (m_dockPreferencesFolderWatch)
        stopPolling(Watched::DockPreferences);
    else if (failure == FileEvents::Failure::Exhausted)
        pollInsteadOfWatching(Watched::DockPreferences);
}

void DockStateReconciler::dockPreferencesFolderChanged(FileEvents::Events fired) {
    // The folder itself went: look for it again from the start.
    if (fired & (FileEvents::Delete | FileEvents::Rename))
        m_dockPreferencesFolderWatch.reset();
    if (m_dockPreferencesWatcher.source)
        return;
    startWatcher(Watched::DockPreferences);
    // The file has just arrived: its contents are news.
    if (m_dockPreferencesWatcher.source)
        handleWatcherEvents(Watched::DockPreferences, FileEvents::Write);
}

void DockStateReconciler::pollInsteadOfWatching(Watched watched) {
    if (!m_saidWatchesExhausted)
        Console::printLine(QStringLiteral("[DockStateReconciler] No file watches left (a system limit): looking at the "
                                          "Dock's preferences and the HelperState folder every %1 s instead")
                               .arg(exhaustedWatchPollInterval));
    m_saidWatchesExhausted = true;
    Watcher& w = watcher(watched);
    // What the object looks like now is what later looks are compared with; a change before
    // this was seen by the watch that has just gone, or by the reconciliation at start-up.
    if (!w.lastSeen)
        w.lastSeen = FileStamp::of(watchedPath(watched));
    if (w.poll)
        return;
    w.poll = m_services.scheduler.schedule(this, exhaustedWatchPollInterval, [this, watched] { pollWatched(watched); });
}

void DockStateReconciler::pollWatched(Watched watched) {
    Watcher& w = watcher(watched);
    w.poll.reset();
    const FileStamp seen = FileStamp::of(watchedPath(watched));
    const bool changed = w.lastSeen != seen;
    w.lastSeen = seen;
    // Back to file events when the system has a watch to give again; else the next look is due.
    startWatcher(watched);
    if (changed)
        handleWatcherEvents(watched, FileEvents::Write);
}

void DockStateReconciler::stopPolling(Watched watched) {
    Watcher& w = watcher(watched);
    if (w.poll)
        w.poll->cancel();
    w.poll.reset();
    w.lastSeen.reset();
}

void DockStateReconciler::handleDockTilePinStateChanged(const Notification& notification) {
    if (!m_services.isFromDock || !m_services.isFromDock(notification)) {
        // Said once: a program that keeps posting should not fill the output.
        if (!m_saidForeignPinState)
            Console::printLine(QStringLiteral("[DockStateReconciler] Ignored %1 from %2, which is not the Dock")
                                   .arg(notification.name, notification.sender.isEmpty()
                                                               ? QStringLiteral("an unknown sender")
                                                               : notification.sender));
        m_saidForeignPinState = true;
        return;
    }
    const QVariant folderID = notification.userInfo.value(Protocol::Key::folderID);
    const QVariant isPinned = notification.userInfo.value(Protocol::Key::isPinned);
    if (folderID.typeId() != QMetaType::QString || isPinned.typeId() != QMetaType::Bool)
        return;
    const std::optional<QUuid> id = FolderID::parse(folderID.toString());
    if (!id)
        return;
    const bool pinned = isPinned.toBool();
    if (m_dockPinnedStateByFolderID.value(*id, false) && !pinned) {
        scheduleHelperTerminationCheck(*id);
        return;
    }
    m_dockPinnedStateByFolderID.insert(*id, pinned);
    if (pinned)
        cancelHelperTerminationCheck(*id);
}

void DockStateReconciler::scheduleHelperTerminationCheck(const QUuid& folderID) {
    cancelHelperTerminationCheck(folderID);
    m_pendingHelperTerminationChecks.insert(
        folderID, m_services.scheduler.schedule(this, helperTerminationCheckDelay, [this, folderID] {
            m_pendingHelperTerminationChecks.remove(folderID);
            performHelperTerminationCheck(folderID);
        }));
}

void DockStateReconciler::cancelHelperTerminationCheck(const QUuid& folderID) {
    if (const std::shared_ptr<WorkItem> check = m_pendingHelperTerminationChecks.take(folderID))
        check->cancel();
}

void DockStateReconciler::performHelperTerminationCheck(const QUuid& folderID) {
    const AppFolder* folder = m_services.store.folder(folderID);
    if (!folder || !folder->isInDock || m_services.store.foldersFileUnreadable())
        return;
    if (m_services.helpers.dockTiles().isFolderKept(*folder).value_or(true))
        m_dockPinnedStateByFolderID.insert(folderID, true);
    else
        removeUnpinnedFolderFromDock(AppFolder(*folder));
}
