#pragma once

#include <QImage>
#include <QString>

#include <optional>

class DesktopEntries;

// Icons of files and application bundles, and custom icons set on folders.
namespace FileIcons {

// Where a folder's custom icon lives: a PNG named "Icon\r" inside it.
QString customIconPath(const QString& folderPath);

// Where desktop entries' Icon keys are read. The composition root sets it once, before the first
// icon is asked for; without it a desktop entry gets the generic application icon.
void setDesktopEntries(const DesktopEntries* entries);

// The icon of `path` as a size × size image, the picture scaled with its aspect kept, centred
// on transparency. A folder's custom icon comes first, then a bundle's CFBundleIconFile from
// Contents/Resources (as named, or with ".icns" or ".png" added); a desktop entry's Icon key is an
// icon of the current theme (hicolor when it has none) or an image file; anything else, a missing
// path included, gets a generic icon. Never a null image.
QImage iconForPath(const QString& path, int size);

// The picture a bundle's CFBundleIconFile names, as stored at the smallest size of at least
// size × size (else its largest), or none: the program's own mark, whatever custom icon the
// bundle's folder carries.
std::optional<QImage> bundleIconFile(const QString& bundlePath, int size);

// Writes `image` as the custom icon of the folder at `path`, replacing any earlier one in one
// step. False when there is no image, `path` is no folder, or the file cannot be written.
bool setCustomIcon(const QImage& image, const QString& path);

} // namespace FileIcons
