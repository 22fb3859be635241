#pragma once

#include <QString>

#include <optional>

// An add-on of Trellin's own that the user's dock runs so that it can tell where a folder's tile
// stands (GNOME Shell's extension). Optional: without it the popup opens where the dock cannot
// tell, as it always did. Installed for the user only, when the user asks.
class DockExtension {
public:
    enum class State {
        // Not in the user's extensions, or not switched on there.
        NotInstalled,
        // Installed from an older Trellin: installing again brings this version.
        Outdated,
        // Installed and switched on; the dock loads it when it starts next (a new login).
        Installed,
        // Installed and switched on, but the dock would not run it (made for another version of
        // the dock, or it failed there): installing again does not help.
        Refused,
        // The dock runs it now.
        Active,
    };

    virtual ~DockExtension() = default;
    virtual State state() const = 0;
    // Installs (or updates) it for the user and switches it on. None when done, else why not.
    virtual std::optional<QString> install() = 0;
};
