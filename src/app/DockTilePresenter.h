#pragma once

#include "RuntimePorts.h"
#include "tile/DockTileManager.h"

// The tile port of the delegate, answered by the process's Dock tile manager.
class DockTilePresenter final : public TilePresenter {
public:
    explicit DockTilePresenter(DockTileManager& manager)
        : m_manager(manager) {}

    void presentFolderTile(const AppFolder& folder) override {
        const TileImage image = m_manager.folderTileImage(folder);
        m_manager.presentTileImage(image);
        m_manager.scheduleBundleIconUpdate(image);
    }
    void showBadge(const QString& text, SystemColor color, double seconds) override {
        m_manager.showBadge(text, color, seconds);
    }
    void refreshTile() override { m_manager.refreshTile(); }

private:
    DockTileManager& m_manager;
};
