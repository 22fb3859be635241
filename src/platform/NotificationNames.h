#pragma once

#include <QLatin1String>

// Every notification name of the program, in one place. The distributed ones cross process
// boundaries (helpers, the Dock, other builds of this program), so their text is fixed for good.
namespace NotificationName {

// Distributed, between processes.
inline constexpr QLatin1String TRTileAppearanceChanged{"TRTileAppearanceChanged"};
inline constexpr QLatin1String TRPopupSettingsChanged{"TRPopupSettingsChanged"};
inline constexpr QLatin1String TRThemeChanged{"TRThemeChanged"};
inline constexpr QLatin1String TRCloseNonPinnedPopups{"TRCloseNonPinnedPopups"};
inline constexpr QLatin1String TRDockTilePinStateChanged{"TRDockTilePinStateChanged"};
inline constexpr QLatin1String TRFolderOffBadge{"TRFolderOffBadge"};
inline constexpr QLatin1String TRFolderDeleteBadge{"TRFolderDeleteBadge"};
// A helper asks the main application to show its folder; the object is the folder's id.
inline constexpr QLatin1String TROpenFolderInMainWindow{"TROpenFolderInMainWindow"};
// Tells the Dock to read its preferences again.
inline constexpr QLatin1String dockPreferencesChanged{"com.apple.dock.prefchanged"};

// Process-local.
inline constexpr QLatin1String tileAppearanceChanged{"tileAppearanceChanged"};
inline constexpr QLatin1String popupSettingsChanged{"popupSettingsChanged"};
inline constexpr QLatin1String showMenuBarChanged{"showMenuBarChanged"};
inline constexpr QLatin1String languageChanged{"languageChanged"};
inline constexpr QLatin1String themeChanged{"themeChanged"};
inline constexpr QLatin1String mainWindowNavigationRequested{"mainWindowNavigationRequested"};
// The dock setting changed: the main application moves its folders to the dock now chosen.
inline constexpr QLatin1String dockHostChanged{"dockHostChanged"};

} // namespace NotificationName
