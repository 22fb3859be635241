#pragma once

#include "AppFolder.h"

#include <QStringList>

#include <functional>

class Workspace;

// "Open all": every application of a folder at once.
namespace FolderLaunch {

// One open per distinct application location, in folder order. Calls `done` once, after every
// open has finished, with the names of the applications that failed (in folder order; empty on
// success). A folder without applications calls it at once.
void launchAll(const AppFolder& folder, Workspace& workspace, std::function<void(const QStringList& failed)> done);

} // namespace FolderLaunch
