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

} // namespace GnomeShellNames
