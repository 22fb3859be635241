#pragma once

// The application: builds the platform backend and the shared objects of this process, hands
// a second launch over to the running instance, and runs the event loop.
namespace TrellinApp {

// The process's exit status.
int run(int argc, char** argv);

} // namespace TrellinApp
