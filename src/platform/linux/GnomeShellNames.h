#pragma once

#include <QString>

// GNOME Shell's name on the session bus and the settings where it and dash-to-dock keep the dock.
namespace GnomeShellNames {

inline const QString service = QStringLiteral("org.gnome.Shell");

inline const QString shellSchema = QStringLiteral("org.gnome.shell");
inline const QString favoritesKey = QStringLiteral("favorite-apps");
inline const QString enabledExtensionsKey = QStringLiteral("enabled-extensions");
inline const QString disabledExtensionsKey = QStringLiteral("disabled-extensions");
inline const QString userExtensionsOffKey = QStringLiteral("disable-user-extensions");

// dash-to-dock and the branch of it Ubuntu ships as "Ubuntu Dock" share one schema.
inline const QString dashToDockExtension = QStringLiteral("dash-to-dock@micxgx.gmail.com");
inline const QString ubuntuDockExtension = QStringLiteral("ubuntu-dock@ubuntu.com");
inline const QString dashToDockSchema = QStringLiteral("org.gnome.shell.extensions.dash-to-dock");
inline const QString dockPositionKey = QStringLiteral("dock-position");
inline const QString iconSizeKey = QStringLiteral("dash-max-icon-size");

// Trellin's own extension, which tells where a launcher's icon stands (docs/dbus/app.trellin.ShellTiles.xml),
// on the shell's connection. The bundle ships it in Resources/<tilesExtensionFolder>/<uuid>/.
inline const QString tilesExtension = QStringLiteral("trellin-tiles@trellin.app");
inline const QString tilesExtensionFolder = QStringLiteral("gnome-shell-extension");
inline const QString tilesPath = QStringLiteral("/app/trellin/ShellTiles");
inline const QString tilesInterface = QStringLiteral("app.trellin.ShellTiles");
inline const QString getTileMethod = QStringLiteral("GetTile");
inline const QString getDockMethod = QStringLiteral("GetDock");

// The shell's own account of its extensions: GetExtensionInfo(uuid) gives a{sv} whose "state" is
// the shell's ExtensionState (js/misc/extensionUtils.js): 3 failed, 4 made for another version.
inline const QString extensionsPath = QStringLiteral("/org/gnome/Shell");
inline const QString extensionsInterface = QStringLiteral("org.gnome.Shell.Extensions");
inline const QString extensionInfoMethod = QStringLiteral("GetExtensionInfo");
inline constexpr int extensionFailedState = 3;
inline constexpr int extensionOutOfDateState = 4;

} // namespace GnomeShellNames
