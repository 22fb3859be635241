#pragma once

#include <QString>

// A launch of an instance that already runs, handed over before the toolkit is loaded: a dock
// launches a folder's entry again at every click on a helper that shows no window, and loading
// the toolkit only to send one reopen and quit is most of what such a click would cost. It speaks
// to the session bus through libdbus, which the toolkit's bus module maps into the process anyway,
// and needs no application object or event loop.
namespace EarlyReopen {

enum class Outcome {
    // The owner of the name took the reopen, or is alive but busy and has it queued: this process
    // is done and exits with status 0, as a handover through LinuxApplication does.
    HandedOver,
    // No session bus, no owner, or an owner that refused the call: the launch starts as usual,
    // and LinuxApplication decides (it takes the name from an owner that is not a working one).
    NotHandedOver,
};

// Sends the instance that owns `serviceName` a reopen (Protocol::Bus::applicationPath and
// applicationInterface), waiting for its answer at most LinuxApplication::reopenTimeoutMs. On the
// session bus, or on the bus at `busAddress` when one is given.
Outcome reopenRunningInstance(const QString& serviceName, const QString& busAddress = {});

} // namespace EarlyReopen
