#include "HostDockTiles.h"

#include "model/AppFolder.h"
#include "model/FolderID.h"
#include "platform/Bundle.h"
#include "platform/Console.h"
#include "platform/DockHost.h"
#include "platform/FolderLaunchers.h"
#include "platform/LocalNotificationCenter.h"
#include "platform/NotificationNames.h"
#include "platform/Scheduler.h"

HostDockTiles::HostDockTiles(Services services, QObject* parent)
    : QObject(parent)
    , m_services(std::move(services)) {
    connect(&m_services.host, &DockHost::changed, this, &HostDockTiles::pinWaiting);
    // A folder's style, a tile setting or the theme: each may change how a tile is drawn.
    for (const QLatin1String name : {NotificationName::tileAppearanceChanged, NotificationName::themeChanged})
        m_services.notifications.addObserver(name, this, [this](const Notification&) { schedulePictureRefresh(); });
}

HostDockTiles::~HostDockTiles() {
    if (m_pictureRefresh)
        m_pictureRefresh->cancel();
}

std::optional<bool> HostDockTiles::isFolderKept(const AppFolder& folder) const {
    const std::optional<QStringList> pins = m_services.host.pinnedEntries();
    if (!pins)
        return std::nullopt;
    return pins->contains(FolderLaunchers::entryId(folder.id));
}

void HostDockTiles::keepFolderTileInDock(const AppFolder& folder) {
    // A dock pins only what it can find: the launcher first.
    if (publish(folder))
        pin(folder.id);
}

void HostDockTiles::pin(const QUuid& folderID) {
    if (!m_services.host.isRunning()) {
        if (!m_waitingPins.contains(folderID))
            m_waitingPins.append(folderID);
        return;
    }
    if (const std::optional<QString> failure = m_services.host.pin(FolderLaunchers::entryId(folderID)))
        report(QStringLiteral("pin"), folderID, *failure);
}

void HostDockTiles::pinWaiting() {
    if (!m_services.host.isRunning())
        return;
    const QList<QUuid> waiting = std::exchange(m_waitingPins, {});
    for (const QUuid& folderID : waiting)
        pin(folderID);
}

void HostDockTiles::removeFolderTilesFromDock(const AppFolder& folder) {
    m_waitingPins.removeAll(folder.id);
    if (const std::optional<QString> failure = m_services.host.unpin(FolderLaunchers::entryId(folder.id)))
        report(QStringLiteral("unpin"), folder.id, *failure);
    if (const std::optional<QString> failure = m_services.launchers.remove(folder.id))
        report(QStringLiteral("remove the launcher of"), folder.id, *failure);
}

void HostDockTiles::moveFolderTiles(const AppFolder& folder, const QString&) {
    // The pin names the launcher, which keeps its file name: only what it says changes.
    publish(folder);
}

void HostDockTiles::syncFolderTiles(const QList<AppFolder>& folders) {
    for (const AppFolder& folder : folders) {
        if (folder.isInDock) {
            // A folder in the Dock without a launcher never stood in this dock (it was in the Dock
            // before this dock stood for it): it is put there, not taken for one the user unpinned,
            // whose launcher goes with it.
            const bool standsThereAlready = m_services.launchers.exists(folder.id);
            if (publish(folder) && !standsThereAlready)
                pin(folder.id);
        } else if (const std::optional<QString> failure = m_services.launchers.remove(folder.id)) {
            report(QStringLiteral("remove the launcher of"), folder.id, *failure);
        }
    }
}

void HostDockTiles::schedulePictureRefresh() {
    if (m_pictureRefresh)
        m_pictureRefresh->cancel();
    m_pictureRefresh = m_services.scheduler.schedule(this, pictureRefreshDelay, [this] {
        m_pictureRefresh.reset();
        for (const AppFolder& folder : m_services.folders()) {
            if (folder.isInDock)
                publish(folder);
        }
    });
}

bool HostDockTiles::publish(const AppFolder& folder) {
    const std::optional<QString> helper = m_services.helperBundlePath(folder.id);
    if (!helper) {
        report(QStringLiteral("write the launcher of"), folder.id, QStringLiteral("its helper is not built"));
        return false;
    }
    FolderLaunchers::Launcher launcher;
    launcher.name = folder.name;
    // Started by the dock without arguments, as a click on a tile starts an application.
    launcher.command = {Bundle(*helper).executablePath()};
    launcher.icon = m_services.picture(folder);
    if (const std::optional<QString> failure = m_services.launchers.write(folder.id, launcher)) {
        report(QStringLiteral("write the launcher of"), folder.id, *failure);
        return false;
    }
    return true;
}

void HostDockTiles::report(const QString& what, const QUuid& folderID, const QString& why) const {
    Console::printLine(QStringLiteral("[DockHost] Could not %1 folder %2 in %3: %4")
                           .arg(what, FolderID::canonical(folderID), m_services.host.displayName(), why));
}
