#pragma once

#include "model/AppFolder.h"
#include "model/TileColors.h"

#include <QString>

// A helper's Dock tile as start-up and the badge notifications drive it.
class TilePresenter {
public:
    virtual ~TilePresenter() = default;
    // Draws the folder's tile, shows it on the Dock tile and writes it as the bundle icon.
    virtual void presentFolderTile(const AppFolder& folder) = 0;
    virtual void showBadge(const QString& text, SystemColor color, double duration) = 0;
    virtual void refreshTile() = 0;
};
