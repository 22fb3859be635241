#pragma once

#include <QString>

#include <memory>

class DockHost;

// Which dock stands for the Dock in this session: the user's own (GNOME Shell, Plank), or none,
// when Trellin's Linux Dock does (its preferences keep the tiles).
namespace DockHostSelection {

struct Choice {
    // None when the Linux Dock stands for the Dock.
    std::unique_ptr<DockHost> host;
    // The one line the main application says at start.
    QString line;
};

// From the "dockHost" setting and what runs on the session bus now. `bundlePath` is the running
// bundle's (its modules are loaded from there); launchers live in `entriesDirectory`.
Choice choose(const QString& setting, const QString& bundlePath, const QString& entriesDirectory);

} // namespace DockHostSelection
