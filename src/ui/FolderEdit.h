#pragma once

#include "model/AppFolder.h"
#include "model/AppItem.h"

#include <QList>
#include <QString>

// The folder card's edit rules, kept apart from its widgets.
namespace FolderEdit {

// What Done stores: `folder` with the edits applied. A name that is blank after trimming keeps the
// old name; a folder left without applications leaves the Dock, where an empty folder cannot stay.
AppFolder saved(const AppFolder& folder, const QString& editingName, const QString& editingIcon,
                const QList<AppItem>& editingApps);

// `apps` followed by those of `picked`, in the picker's order, whose bundle identifier is not
// there yet (nor earlier among the picked).
QList<AppItem> appended(const QList<AppItem>& apps, const QList<AppItem>& picked);

} // namespace FolderEdit
