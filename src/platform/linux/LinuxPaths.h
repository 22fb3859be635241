#pragma once

#include <QString>

namespace LinuxPaths {

// The user's Application Support folder: $XDG_DATA_HOME, else ~/.local/share.
QString applicationSupportDirectory();

} // namespace LinuxPaths
