#pragma once

#include "platform/Application.h"

// How the main application shows itself. The menu-bar item replaces the Dock icon only where a
// tray can show it: without one, leaving the Dock would leave the application unreachable.
namespace MainAppPresentation {

constexpr bool showsMenuBarExtra(bool isHelperProcess, bool showMenuBar, bool trayAvailable) {
    return !isHelperProcess && showMenuBar && trayAvailable;
}

constexpr ActivationPolicy activationPolicy(bool showMenuBar, bool trayAvailable) {
    return showsMenuBarExtra(false, showMenuBar, trayAvailable) ? ActivationPolicy::Accessory
                                                                : ActivationPolicy::Regular;
}

} // namespace MainAppPresentation
