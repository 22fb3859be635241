#pragma once

#include "model/HelperTileActions.h"

#include <QStringList>

#include <functional>

// Records what the store asks of the helper tiles, one line per call, e.g.
// "removeHelper <id> preserve=false" or "syncHelpers 3".
class RecordingHelperActions : public HelperTileActions {
public:
    void recreateAndLaunchHelper(const AppFolder& folder) override;
    void removeHelper(const QUuid& folderID, bool preserve) override;
    void scheduleDockRemoval(const AppFolder& folder, double delaySeconds) override;
    void cancelDockRemoval(const QUuid& folderID) override;
    void syncHelpers(const QList<AppFolder>& folders) override;
    void putFolderInDock(const AppFolder& folder) override;
    void rebuildHelper(const AppFolder& folder) override;
    void removeFolderFromDock(const AppFolder& folder) override;

    // Adds a line of the test's own, so that its events and the calls share one timeline.
    void record(const QString& call);
    void clear() {
        calls.clear();
        callTimes.clear();
    }

    QStringList calls;
    QList<double> callTimes; // the virtual time of each call, when a clock is attached
    std::function<double()> clock;
};
