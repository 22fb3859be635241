#pragma once

#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <optional>

// The Dock's preferences file, "com.apple.dock": its keys, how its tiles name an application and
// how its numbers are read. Shared by the program that reads the Dock's state and the Dock that
// writes it, so that a tile one writes is a tile the other understands.
namespace DockFileFormat {

inline const QString domainName = QStringLiteral("com.apple.dock");
inline const QString persistentAppsKey = QStringLiteral("persistent-apps");

// "<home>/Library/Preferences/com.apple.dock.plist".
QString standardPath(const QString& homeDirectory);

// An absolute path with dot segments and repeated or trailing slashes removed; none for a relative
// path, which has nothing to be relative to in the Dock's file.
std::optional<QString> standardisedPath(const QString& path);

// A tile's application location as a standardised absolute path, or none: "tile-data" /
// "file-data" / "_CFURLString", a file URL (type 15) or, with "_CFURLStringType" 0, a plain path.
std::optional<QString> tileFilePath(const QVariantMap& tile);

// A "persistent-apps" entry for the application at `path`: a file tile whose location is the
// percent-escaped file URL of the folder (type 15), with its label and bundle identifier.
QVariantMap applicationTile(const QString& path, const QString& label, const QString& bundleIdentifier);

// Number conversions as the Dock's values are read: integers only when the stored number is
// exactly one, booleans from a boolean or a number that is exactly 0 or 1.
std::optional<qint64> exactInteger(const QVariant& value);
std::optional<bool> exactBoolean(const QVariant& value);

} // namespace DockFileFormat
