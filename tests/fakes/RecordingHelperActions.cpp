#include "RecordingHelperActions.h"

#include "model/FolderID.h"

void RecordingHelperActions::record(const QString& call) {
    calls.append(call);
    callTimes.append(clock ? clock() : 0.0);
}

void RecordingHelperActions::recreateAndLaunchHelper(const AppFolder& folder) {
    record(QStringLiteral("recreateAndLaunchHelper ") + FolderID::canonical(folder.id));
}

void RecordingHelperActions::removeHelper(const QUuid& folderID, bool preserve) {
    record(QStringLiteral("removeHelper %1 preserve=%2")
               .arg(FolderID::canonical(folderID), preserve ? QStringLiteral("true") : QStringLiteral("false")));
}

void RecordingHelperActions::scheduleDockRemoval(const AppFolder& folder, double delaySeconds) {
    record(QStringLiteral("scheduleDockRemoval %1 %2").arg(FolderID::canonical(folder.id)).arg(delaySeconds));
}

void RecordingHelperActions::cancelDockRemoval(const QUuid& folderID) {
    record(QStringLiteral("cancelDockRemoval ") + FolderID::canonical(folderID));
}

void RecordingHelperActions::syncHelpers(const QList<AppFolder>& folders) {
    record(QStringLiteral("syncHelpers %1").arg(folders.size()));
}

void RecordingHelperActions::putFolderInDock(const AppFolder& folder) {
    record(QStringLiteral("putFolderInDock ") + FolderID::canonical(folder.id));
}

void RecordingHelperActions::rebuildHelper(const AppFolder& folder) {
    record(QStringLiteral("rebuildHelper ") + FolderID::canonical(folder.id));
}

void RecordingHelperActions::removeFolderFromDock(const AppFolder& folder) {
    record(QStringLiteral("removeFolderFromDock ") + FolderID::canonical(folder.id));
}
