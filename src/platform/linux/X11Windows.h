#pragma once

#include <QList>
#include <QSet>

// The top-level windows the window manager lists (EWMH), found by the process that owns them,
// and activated as a pager or task bar activates one for the user. Nothing off X11.
namespace X11Windows {

// The managed windows whose _NET_WM_PID is one of `processes`, bottom to top.
QList<quintptr> windowsOf(const QSet<qint64>& processes);

// Asks the window manager to raise the window, show it when minimised, and give it the focus
// (_NET_ACTIVE_WINDOW from a pager: a request made for the user, which focus-stealing
// prevention lets through). False when there is no X display to ask.
bool activate(quintptr window);

} // namespace X11Windows
