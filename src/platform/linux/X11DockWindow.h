#pragma once

#include <QRect>

// Marks a window as a dock for the window manager and reserves a strip of a screen edge for it,
// the way panels do it on X11 (_NET_WM_WINDOW_TYPE_DOCK, _NET_WM_STRUT_PARTIAL): the manager keeps
// it above other windows, undecorated and unfocused, and takes the strip out of the work area.
// Does nothing off X11.
namespace X11DockWindow {

enum class Edge { Left, Right, Bottom };

// Before the window is first shown: managers read the type when they map a window.
void setDockType(quintptr window);

// Reserves `thickness` pixels of `screen`'s `edge` (global pixels, within the whole X screen
// `desktop`), along the screen's extent only.
void reserveEdge(quintptr window, Edge edge, int thickness, const QRect& screen, const QRect& desktop);

} // namespace X11DockWindow
