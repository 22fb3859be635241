#pragma once

#include <QString>

// The docks a folder can stand in, by the name the dock-host setting stores and the application
// reports: the setting's values and DockHost::id() take them from here.
namespace DockHostIds {

inline const QString automatic = "automatic", gnomeShell = "gnome-shell", plank = "plank", kdePlasma = "kde-plasma",
                     trellinDock = "trellin-dock";

// A dock's own name, the same in every language; empty for "automatic" and unknown ids.
inline QString displayName(const QString& id) {
    if (id == gnomeShell)
        return QStringLiteral("GNOME Shell");
    if (id == plank)
        return QStringLiteral("Plank");
    if (id == kdePlasma)
        return QStringLiteral("KDE Plasma");
    if (id == trellinDock)
        return QStringLiteral("Trellin Dock");
    return {};
}

} // namespace DockHostIds
