#pragma once

#include "AppFolder.h"

#include <QList>
#include <QUuid>

// What the folder store asks of the helper tiles when folders change. The store reads no
// result: each action reports its own failures.
class HelperTileActions {
public:
    virtual ~HelperTileActions() = default;

    virtual void recreateAndLaunchHelper(const AppFolder& folder) = 0;
    virtual void removeHelper(const QUuid& folderID, bool preserve) = 0;
    virtual void scheduleDockRemoval(const AppFolder& folder, double delaySeconds) = 0;
    virtual void cancelDockRemoval(const QUuid& folderID) = 0;
    virtual void syncHelpers(const QList<AppFolder>& folders) = 0;

    // The folder went into the Dock by the user's choice: a fresh helper, and its tile kept in the
    // Dock, so that the folder stays there when the helper ends.
    virtual void putFolderInDock(const AppFolder& folder) = 0;
    // The folder's name, symbol or applications changed while it is in the Dock: a new helper,
    // whose tile takes the place of the old one's in the Dock.
    virtual void rebuildHelper(const AppFolder& folder) = 0;
    // The folder is gone: its tiles leave the Dock with its helper.
    virtual void removeFolderFromDock(const AppFolder& folder) = 0;
};
