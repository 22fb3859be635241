#include "DockHostSwitch.h"

#include "helpers/HelperManager.h"
#include "model/FolderStore.h"
#include "platform/Console.h"
#include "platform/DockHostIds.h"

DockHostSwitch::DockHostSwitch(Services services)
    : m_services(std::move(services)) {}

void DockHostSwitch::settingChanged() {
    const QString next = m_services.chosenId();
    if (next == m_services.currentId)
        return;

    QList<AppFolder> inDock;
    for (const AppFolder& folder : m_services.store.folders())
        if (folder.isInDock)
            inDock.append(folder);
    // Out of the old dock; a user's dock takes the folders at the next start, when their launchers
    // are written anew and pinned (waiting for that dock if it does not run yet).
    for (const AppFolder& folder : std::as_const(inDock))
        m_services.helpers.dockTiles().removeFolderTilesFromDock(folder);
    if (next == DockHostIds::trellinDock) {
        for (const AppFolder& folder : std::as_const(inDock))
            m_services.helpers.dockPreferences().keepFolderTileInDock(folder);
    }
    Console::printLine(QStringLiteral("[DockHost] The Dock is now %1: %2 folders move there; Trellin starts again")
                           .arg(DockHostIds::displayName(next))
                           .arg(inDock.size()));
    m_services.restart();
}
