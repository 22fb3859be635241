#pragma once

#include "model/AppFolder.h"

#include <QList>
#include <QLocale>
#include <QString>

// Which folders the folder list shows: the filter segment and the search, in the store's order.
enum class FolderVisibilityFilter { All, InDock };

namespace FolderVisibility {

// Folders passing both the filter and the search. A search that is blank after trimming passes
// everything; otherwise the text as typed must occur, ignoring letter case under `locale`, in the
// folder's name or in the name of one of its applications.
QList<AppFolder> visibleFolders(const QList<AppFolder>& folders, FolderVisibilityFilter filter,
                                const QString& searchText, const QLocale& locale);
qint64 inDockCount(const QList<AppFolder>& folders);
// The header's number: the in-Dock folders under that filter, else all of them; the search never
// changes it.
qint64 headerCount(const QList<AppFolder>& folders, FolderVisibilityFilter filter);

} // namespace FolderVisibility
