#include "HelperManager.h"
#include "platform/LifetimeBound.h"
#include "platform/Protocol.h"

#include "RunMode.h"
#include "model/FolderID.h"
#include "model/HelperLaunchLog.h"
#include "platform/Bundle.h"
#include "platform/Clock.h"
#include "platform/Console.h"
#include "platform/DistributedNotifications.h"
#include "platform/FileSystem.h"
#include "platform/LocalNotificationCenter.h"
#include "platform/NotificationNames.h"
#include "platform/Scheduler.h"
#include "platform/SystemLog.h"
#include "platform/Workspace.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

HelperManager::HelperManager(Services services, QObject* parent)
    : QObject(parent)
    , m_services(std::move(services))
    , m_builder(m_services.applicationSupportDirectory, m_services.mainBundle, m_services.signingTool,
                m_services.systemLog)
    , m_state(m_services.applicationSupportDirectory)
    , m_dockPreferences(m_services.dockDomain, m_services.distributedNotifications, m_services.dockPreferencesPath,
                        m_builder.helpersDir(), m_state.helperStateDir(),
                        {[this](const QUuid& id) { return m_builder.helperBundleURL(id); },
                         [this](const QString& path) { return isHelperRunning(path); }}) {
    QDir().mkpath(m_state.helperStateDir());
    m_services.localNotifications.addObserver(NotificationName::tileAppearanceChanged, this,
                                              [this](const Notification&) { updateAllHelperTiles(); });
    m_services.localNotifications.addObserver(NotificationName::popupSettingsChanged, this,
                                              [this](const Notification&) { refreshAllHelperPopups(); });
}

HelperManager::~HelperManager() = default;

void HelperManager::launchHelper(const QString& helperPath, const QUuid& folderID) {
    // Only a bundle built here for this folder is ever run: anything else would start with
    // "-group" as some other program, or as a second main application.
    if (m_builder.ownGroupID(helperPath) != FolderID::canonical(folderID)) {
        m_state.deleteStateMarker(folderID, Protocol::Marker::launch);
        Console::printLine(QStringLiteral("[HelperManager] Not launching %1: it is not the helper Trellin built for "
                                          "folder %2")
                               .arg(helperPath, FolderID::canonical(folderID)));
        return;
    }
    Workspace::OpenConfiguration configuration;
    configuration.activates = false;
    configuration.createsNewApplicationInstance = true;
    configuration.arguments = RunMode::helperArguments(folderID);
    m_services.workspace.openApplication(
        helperPath, configuration, boundTo(this, [this, helperPath, folderID](const std::optional<QString>& error) {
            if (!error) {
                const QString message = QStringLiteral("Successfully launched helper: ") + helperPath;
                Console::printLine(message);
                m_services.systemLog.write(QStringLiteral("Trellin: ") + message);
                return;
            }
            m_state.deleteStateMarker(folderID, Protocol::Marker::launch);
            const QString message = QStringLiteral("Failed to launch helper %1: %2").arg(helperPath, *error);
            Console::printLine(message);
            m_services.systemLog.write(QStringLiteral("Trellin: ") + message);
        }));
}

void HelperManager::recreateAndLaunchHelper(const AppFolder& folder) {
    removeHelper(folder.id, true);
    m_state.writeLaunchMarker(folder.id, m_services.clock.now());
    if (const std::optional<QString> helper = m_builder.buildHelperBundle(folder))
        launchHelper(*helper, folder.id);
}

void HelperManager::terminateRunning(const QString& bundlePath) {
    for (const Workspace::RunningApplication& application : m_services.workspace.runningApplications()) {
        if (application.bundlePath == bundlePath)
            m_services.workspace.terminate(application);
    }
}

void HelperManager::removeHelper(const QUuid& folderID, bool preserve) {
    const std::optional<QString> helper = m_builder.helperBundleURL(folderID);
    if (!helper)
        return;
    if (preserve)
        m_state.writePreserveMarker(folderID);
    else
        m_state.deleteStateMarker(folderID, Protocol::Marker::preserve);
    terminateRunning(*helper);
    FileSystem::removeItem(*helper);
}

void HelperManager::syncHelpers(const QList<AppFolder>& folders) {
    QSet<QString> inDock;
    for (const AppFolder& folder : folders) {
        if (folder.isInDock)
            inDock.insert(FolderID::canonical(folder.id));
    }
    m_builder.removeUnfinishedBuilds();
    QStringList leftAlone;
    for (const QString& bundle : m_builder.helperBundlePaths()) {
        // What this application did not build is not its to stop or delete, whatever it is called.
        const std::optional<QString> groupID = m_builder.ownGroupID(bundle);
        if (!groupID) {
            leftAlone.append(QFileInfo(bundle).fileName());
            continue;
        }
        if (inDock.contains(*groupID))
            continue;
        terminateRunning(bundle);
        FileSystem::removeItem(bundle);
    }
    reportLeftAlone(leftAlone);
    for (const AppFolder& folder : folders) {
        if (!folder.isInDock)
            continue;
        const std::optional<QString> found = m_builder.helperBundleURL(folder.id);
        if (!found) {
            m_services.launchLog.recordLaunch(folder.id);
            recreateAndLaunchHelper(folder);
            continue;
        }
        refreshHelperIfOutdated(folder, *found);
        const QString helper = m_builder.helperBundleURL(folder.id).value_or(*found);
        if (!isHelperRunning(helper)) {
            m_services.launchLog.recordLaunch(folder.id);
            launchHelper(helper, folder.id);
        }
    }
    dockTiles().syncFolderTiles(folders);
}

void HelperManager::reportLeftAlone(QStringList names) {
    names.sort();
    // Said once, not at every synchronisation.
    if (names.isEmpty() || names == m_reportedLeftAlone)
        return;
    m_reportedLeftAlone = names;
    Console::printLine(QStringLiteral("[HelperManager] Left alone in %1, not built by Trellin: %2")
                           .arg(m_builder.helpersDir(), names.join(QStringLiteral(", "))));
}

void HelperManager::scheduleDockRemoval(const AppFolder& folder, double delaySeconds) {
    if (const auto pending = m_offTimers.value(folder.id))
        pending->cancel();
    postOffBadge(folder.id, false);
    m_offTimers.insert(folder.id, m_services.scheduler.schedule(this, delaySeconds, [this, folder] {
        m_offTimers.remove(folder.id);
        removeFolderFromDock(folder);
    }));
}

FolderDockTiles& HelperManager::dockTiles() {
    if (m_services.hostTiles)
        return *m_services.hostTiles;
    return m_dockPreferences;
}

void HelperManager::putFolderInDock(const AppFolder& folder) {
    recreateAndLaunchHelper(folder);
    dockTiles().keepFolderTileInDock(folder);
}

void HelperManager::rebuildHelper(const AppFolder& folder) {
    // A new name is a new bundle: the kept tile would lead nowhere.
    const std::optional<QString> former = m_builder.helperBundleURL(folder.id);
    removeHelper(folder.id, false);
    recreateAndLaunchHelper(folder);
    if (former)
        dockTiles().moveFolderTiles(folder, *former);
}

void HelperManager::removeFolderFromDock(const AppFolder& folder) {
    // The tiles first: the bundle still tells which of them are this folder's.
    dockTiles().removeFolderTilesFromDock(folder);
    removeHelper(folder.id, false);
}

void HelperManager::cancelDockRemoval(const QUuid& folderID) {
    if (const auto pending = m_offTimers.take(folderID))
        pending->cancel();
    postOffBadge(folderID, true);
}

void HelperManager::postOffBadge(const QUuid& folderID, bool hide) {
    QVariantMap userInfo{{Protocol::Key::id, FolderID::canonical(folderID)}};
    if (hide)
        userInfo.insert(Protocol::Key::hide, true);
    m_services.distributedNotifications.post(NotificationName::TRFolderOffBadge, {}, userInfo);
}

void HelperManager::refreshHelperIfOutdated(const AppFolder& folder, const QString& helperPath) {
    if (!m_builder.isHelperExecutableOutdated(helperPath, m_services.mainBundle.path()) || isHelperRunning(helperPath))
        return;
    FileSystem::removeItem(helperPath);
    m_builder.buildHelperBundle(folder);
}

bool HelperManager::isHelperRunning(const QString& helperPath) const {
    for (const Workspace::RunningApplication& application : m_services.workspace.runningApplications()) {
        if (!application.bundlePath.isEmpty() && application.bundlePath == helperPath)
            return true;
    }
    return false;
}

void HelperManager::updateAllHelperTiles() {
    m_services.distributedNotifications.post(NotificationName::TRTileAppearanceChanged);
}

void HelperManager::refreshAllHelperPopups() {
    m_services.distributedNotifications.post(NotificationName::TRPopupSettingsChanged);
}
