#pragma once

#include <QLatin1String>
#include <QString>

// What the main application, its helpers, the Dock stand-in and the tools must agree on, beyond
// the notification names (NotificationNames.h) and the bundle's own layout (Bundle.h). Stored
// files and other builds rely on these texts, so they are fixed for good.
namespace Protocol {

// The session bus (docs/dbus/, docs/dock-protocol.md).
namespace Bus {
// Every instance, main or helper, serves the application interface at this path.
inline const QString applicationPath = QStringLiteral("/app/trellin/Application");
inline const QString applicationInterface = QStringLiteral("app.trellin.Application");
// The main application alone also serves its folders there.
inline const QString foldersInterface = QStringLiteral("app.trellin.Folders");
// The Linux Dock stand-in.
inline const QString dockService = QStringLiteral("app.trellin.Dock");
inline const QString dockPath = QStringLiteral("/app/trellin/Dock");
inline const QString dockInterface = QStringLiteral("app.trellin.Dock");
// Distributed notifications travel as one broadcast signal.
inline const QString notificationsPath = QStringLiteral("/app/trellin/DistributedNotifications");
inline const QString notificationsInterface = QStringLiteral("app.trellin.DistributedNotifications");
} // namespace Bus

// Keys of the distributed notifications' user info.
namespace Key {
inline constexpr QLatin1String id{"id"};             // a folder's id, canonical text
inline constexpr QLatin1String hide{"hide"};         // the off badge goes away
inline constexpr QLatin1String folderID{"folderID"}; // a tile's folder, canonical text
inline constexpr QLatin1String isPinned{"isPinned"}; // whether the Dock keeps that tile
} // namespace Key

// A helper bundle's Info.plist names its folder under this key.
inline constexpr QLatin1String groupIDKey{"TRGroupUUID"};

// Marker files in the helper state folder, one per folder: "<folder id><suffix>".
namespace Marker {
inline constexpr QLatin1String launch{".launch"};     // when the main application started the helper
inline constexpr QLatin1String preserve{".preserve"}; // the next helper ending keeps the tile
inline constexpr QLatin1String pinned{".pinned"};     // "1" while the Dock keeps the tile
} // namespace Marker

// How the helpers and the reopen path find the main window among the application's windows.
namespace MainWindow {
inline const QString identifier = QStringLiteral("TrellinMainWindow");
inline const QString title = QStringLiteral("Trellin");
} // namespace MainWindow

} // namespace Protocol
