#pragma once

// The trellin-dock program: its objects, wired together, and the event loop.
namespace DockApp {

int run(int argc, char** argv);

} // namespace DockApp
