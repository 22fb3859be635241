#pragma once

struct _XDisplay;

// This process's own connection to the X server, opened at the first use when the program
// runs on X11 and kept for the process's life; none elsewhere (offscreen, Wayland without
// XWayland). Separate from the toolkit's connection, so events selected on it never reach the
// toolkit's event handling.
namespace X11Display {

_XDisplay* shared();

} // namespace X11Display
