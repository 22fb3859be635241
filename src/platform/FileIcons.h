#pragma once

#include <QImage>
#include <QString>

// Icons of files and application bundles, and custom icons set on folders.
namespace FileIcons {

// Where a folder's custom icon lives: a PNG named "Icon\r" inside it.
QString customIconPath(const QString& folderPath);

// The icon of `path` as a size × size image, the picture scaled with its aspect kept, centred
// on transparency. A folder's custom icon comes first, then a bundle's CFBundleIconFile from
// Contents/Resources (as named, or with ".icns" or ".png" added); anything else, a missing path
// included, gets a generic icon. Never a null image.
QImage iconForPath(const QString& path, int size);

// Writes `image` as the custom icon of the folder at `path`, replacing any earlier one in one
// step. False when there is no image, `path` is no folder, or the file cannot be written.
bool setCustomIcon(const QImage& image, const QString& path);

} // namespace FileIcons
