#include "HelperManager.h"

#include "model/FolderID.h"
#include "platform/Bundle.h"
#include "platform/Clock.h"
#include "platform/Console.h"
#include "platform/DistributedNotifications.h"
#include "platform/LocalNotificationCenter.h"
#include "platform/Scheduler.h"
#include "platform/SystemLog.h"
#include "platform/Workspace.h"

#include <QDir>
#include <QPointer>
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
    const QPointer<HelperManager> self(this);
    m_services.localNotifications.addObserver(QStringLiteral("tileAppearanceChanged"), [self](const Notification&) {
        if (self)
            self->updateAllHelperTiles();
    });
    m_services.localNotifications.addObserver(QStringLiteral("popupSettingsChanged"), [self](const Notification&) {
        if (self)
            self->refreshAllHelperPopups();
    });
}

HelperManager::~HelperManager() = default;

void HelperManager::launchHelper(const QString& helperPath, const QUuid& folderID) {
    const QPointer<HelperManager> self(this);
    Workspace::OpenConfiguration configuration;
    configuration.activates = false;
    configuration.createsNewApplicationInstance = true;
    configuration.arguments = {QStringLiteral("-group"), FolderID::canonical(folderID)};
    m_services.workspace.openApplication(
        helperPath, configuration, [self, helperPath, folderID](const std::optional<QString>& error) {
            if (!self)
                return;
            if (!error) {
                const QString message = QStringLiteral("Successfully launched helper: ") + helperPath;
                Console::printLine(message);
                self->m_services.systemLog.write(QStringLiteral("Trellin: ") + message);
                return;
            }
            self->deleteStateMarker(folderID, QStringLiteral(".launch"));
            const QString message = QStringLiteral("Failed to launch helper %1: %2").arg(helperPath, *error);
            Console::printLine(message);
            self->m_services.systemLog.write(QStringLiteral("Trellin: ") + message);
        });
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
        deleteStateMarker(folderID, QStringLiteral(".preserve"));
    terminateRunning(*helper);
    QDir(*helper).removeRecursively();
}

void HelperManager::stampHelperLaunch(const QUuid& folderID) {
    if (!m_services.launchStamps)
        return;
    if (HelperLaunchStamps* stamps = m_services.launchStamps())
        stamps->recordHelperLaunch(folderID, m_services.clock.now());
}

void HelperManager::syncHelpers(const QList<AppFolder>& folders) {
    QSet<QString> inDock;
    for (const AppFolder& folder : folders) {
        if (folder.isInDock)
            inDock.insert(FolderID::canonical(folder.id));
    }
    for (const QString& bundle : m_builder.helperBundlePaths()) {
        const QVariant groupID = HelperBundleBuilder::groupIDOf(bundle);
        if (groupID.typeId() == QMetaType::QString && inDock.contains(groupID.toString()))
            continue;
        terminateRunning(bundle);
        QDir(bundle).removeRecursively();
    }
    for (const AppFolder& folder : folders) {
        if (!folder.isInDock)
            continue;
        const std::optional<QString> found = m_builder.helperBundleURL(folder.id);
        if (!found) {
            stampHelperLaunch(folder.id);
            recreateAndLaunchHelper(folder);
            continue;
        }
        refreshHelperIfOutdated(folder, *found);
        const QString helper = m_builder.helperBundleURL(folder.id).value_or(*found);
        if (!isHelperRunning(helper)) {
            stampHelperLaunch(folder.id);
            launchHelper(helper, folder.id);
        }
    }
}

void HelperManager::scheduleDockRemoval(const AppFolder& folder, double delaySeconds) {
    if (const auto pending = m_offTimers.value(folder.id))
        pending->cancel();
    m_services.distributedNotifications.post(QStringLiteral("TRFolderOffBadge"), {},
                                             {{QStringLiteral("id"), FolderID::canonical(folder.id)}});
    const QPointer<HelperManager> self(this);
    m_offTimers.insert(folder.id, m_services.scheduler.schedule(delaySeconds, [self, folder] {
        if (!self)
            return;
        self->m_offTimers.remove(folder.id);
        self->m_dockPreferences.removeFolderTilesFromDock(folder);
        self->removeHelper(folder.id, false);
    }));
}

void HelperManager::cancelDockRemoval(const QUuid& folderID) {
    if (const auto pending = m_offTimers.take(folderID))
        pending->cancel();
    m_services.distributedNotifications.post(
        QStringLiteral("TRFolderOffBadge"), {},
        {{QStringLiteral("id"), FolderID::canonical(folderID)}, {QStringLiteral("hide"), true}});
}

void HelperManager::refreshHelperIfOutdated(const AppFolder& folder, const QString& helperPath) {
    if (!m_builder.isHelperExecutableOutdated(helperPath, m_services.mainBundle.path()) || isHelperRunning(helperPath))
        return;
    QDir(helperPath).removeRecursively();
    m_builder.buildHelperBundle(folder);
}

bool HelperManager::isHelperRunning(const QString& helperPath) const {
    for (const Workspace::RunningApplication& application : m_services.workspace.runningApplications()) {
        if (!application.bundlePath.isEmpty() && application.bundlePath == helperPath)
            return true;
    }
    return false;
}

void HelperManager::deleteStateMarker(const QUuid& folderID, const QString& suffix) const {
    m_state.deleteStateMarker(folderID, suffix);
}

bool HelperManager::consumePreserveMarker(const QUuid& folderID) const {
    return m_state.consumePreserveMarker(folderID);
}

void HelperManager::updateAllHelperTiles() {
    m_services.distributedNotifications.post(QStringLiteral("TRTileAppearanceChanged"));
}

void HelperManager::refreshAllHelperPopups() {
    m_services.distributedNotifications.post(QStringLiteral("TRPopupSettingsChanged"));
}
