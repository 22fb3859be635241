#include "DockHostSwitch.h"

#include "helpers/HelperManager.h"
#include "helpers/HostDockTiles.h"
#include "model/FolderStore.h"
#include "platform/Console.h"
#include "platform/DockHost.h"
#include "platform/DockHostIds.h"

DockHostSwitch::DockHostSwitch(Services services)
    : m_services(std::move(services)) {}

void DockHostSwitch::settingChanged() {
    std::unique_ptr<DockHost> next = m_services.chosen();
    const QString nextId = next ? next->id() : DockHostIds::trellinDock;
    const QString currentId = m_services.current ? m_services.current->id() : DockHostIds::trellinDock;
    if (nextId == currentId)
        return;

    QList<AppFolder> inDock;
    for (const AppFolder& folder : m_services.store.folders())
        if (folder.isInDock)
            inDock.append(folder);
    // Out of the old dock first: it may share the launchers with the new one.
    for (const AppFolder& folder : std::as_const(inDock))
        m_services.helpers.dockTiles().removeFolderTilesFromDock(folder);
    if (next) {
        HostDockTiles tiles({
            .host = *next,
            .launchers = m_services.launchers,
            .scheduler = m_services.scheduler,
            .helperBundlePath = [this](const QUuid& id) { return m_services.helpers.builder().helperBundleURL(id); },
            .picture = m_services.picture,
            .folders = [inDock] { return inDock; },
        });
        for (const AppFolder& folder : std::as_const(inDock))
            tiles.keepFolderTileInDock(folder);
    } else {
        for (const AppFolder& folder : std::as_const(inDock))
            m_services.helpers.dockPreferences().keepFolderTileInDock(folder);
    }
    Console::printLine(QStringLiteral("[DockHost] The Dock is now %1: %2 folders moved there; Trellin starts again")
                           .arg(next ? next->displayName() : DockHostIds::trellinDock)
                           .arg(inDock.size()));
    m_services.restart();
}
