#pragma once

#include <QLatin1String>

#include <span>

// The symbols a folder's glyph can be chosen from, in the order the icon grids show them.
namespace FolderIcons {

std::span<const QLatin1String> availableIcons();

} // namespace FolderIcons
