#include "FolderEdit.h"

#include <QSet>

namespace FolderEdit {

AppFolder saved(const AppFolder& folder, const QString& editingName, const QString& editingIcon,
                const QList<AppItem>& editingApps) {
    AppFolder result = folder;
    const QString name = editingName.trimmed();
    if (!name.isEmpty())
        result.name = name;
    result.emoji = editingIcon;
    result.apps = editingApps;
    if (editingApps.isEmpty())
        result.isInDock = false;
    return result;
}

QList<AppItem> appended(const QList<AppItem>& apps, const QList<AppItem>& picked) {
    QList<AppItem> result = apps;
    QSet<QString> bundleIDs;
    for (const AppItem& app : apps)
        bundleIDs.insert(app.bundleID);
    for (const AppItem& app : picked) {
        if (bundleIDs.contains(app.bundleID))
            continue;
        bundleIDs.insert(app.bundleID);
        result.append(app);
    }
    return result;
}

} // namespace FolderEdit
