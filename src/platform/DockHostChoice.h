#pragma once

#include <QString>

// Which dock a folder stands in: the one the dock-host setting forces, else the one running in the
// session. A dock that is still starting with the session is waited for rather than passed over,
// so the choice must not depend on who won the race to the bus.
namespace DockHostChoice {

// What runs in the session now.
struct Session {
    bool plankRuns = false;
    bool gnomeShellRuns = false;
    bool plasmaRuns = false;
    bool trellinDockRuns = false;
    // $XDG_CURRENT_DESKTOP: a colon-separated list of desktop names.
    QString currentDesktop;
};

// The host's id (DockHostIds) for the setting's value: a forced host even when it does not run
// yet; else a running Plank, GNOME Shell, KDE Plasma or Linux Dock in that order; else GNOME Shell
// or KDE Plasma when the desktop is theirs (it is still starting), else the Linux Dock.
QString choose(const QString& setting, const Session& session);

// Whether the desktop names in $XDG_CURRENT_DESKTOP are a GNOME Shell session's.
bool isGnomeShellDesktop(const QString& currentDesktop);
// Whether they are a KDE Plasma session's.
bool isPlasmaDesktop(const QString& currentDesktop);

} // namespace DockHostChoice
