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
};
