#pragma once

#include <QString>

// How docks name a folder's launcher: by its entry id, a plain file name in the launchers'
// folder, or by a file URI of that entry, which Plank and KDE Plasma both accept.
namespace LauncherUris {

// Whether `entryId` is a plain file name, the only kind a launcher's entry id is.
bool isPlainName(const QString& entryId);
// The entry id of a file URI a dock lists: an entry in `entriesDirectory` by its file name; any
// other by its file name too, unless a launcher of that name is in the folder, where it stays the
// URI it is, so that a copy elsewhere never passes for the launcher. Any text but a file URI as it
// is.
QString entryIdOfFileUri(const QString& uri, const QString& entriesDirectory);

} // namespace LauncherUris
