#pragma once

#include <QString>

namespace LinuxPaths {

// The user's Application Support folder: $XDG_DATA_HOME, else ~/.local/share.
QString applicationSupportDirectory();
// The user's cache folder: $XDG_CACHE_HOME, else ~/.cache.
QString cacheDirectory();

} // namespace LinuxPaths
