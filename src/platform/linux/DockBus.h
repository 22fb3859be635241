#pragma once

#include <QString>

// Where the Linux Dock answers on the session bus (docs/dock-protocol.md): the Dock and the
// applications that talk to it take the names from here.
namespace DockBus {

inline const QString service = QStringLiteral("app.trellin.Dock");
inline const QString path = QStringLiteral("/app/trellin/Dock");
inline const QString interface = QStringLiteral("app.trellin.Dock");

} // namespace DockBus
