#pragma once

#include <QString>

// The docks a folder can stand in, by the name the dock-host setting stores and the application
// reports: the setting's values and DockHost::id() take them from here.
namespace DockHostIds {

inline const QString automatic = "automatic", gnomeShell = "gnome-shell", plank = "plank", trellinDock = "trellin-dock";

} // namespace DockHostIds
