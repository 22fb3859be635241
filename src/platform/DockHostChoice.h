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
    bool trellinDockRuns = false;
    // $XDG_CURRENT_DESKTOP: a colon-separated list of desktop names.
    QString currentDesktop;
};

// The host's id (DockHostIds) for the setting's value: a forced host even when it does not run
// yet; else a running Plank, GNOME Shell or Linux Dock in that order; else GNOME Shell when the
// desktop is GNOME's (it is still starting), else the Linux Dock.
QString choose(const QString& setting, const Session& session);

// Whether the desktop names in $XDG_CURRENT_DESKTOP are a GNOME Shell session's.
bool isGnomeShellDesktop(const QString& currentDesktop);

} // namespace DockHostChoice
