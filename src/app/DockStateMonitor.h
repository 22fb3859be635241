#pragma once

#include "platform/Notification.h"

// Watching the Dock's state from the main application.
class DockStateMonitor {
public:
    virtual ~DockStateMonitor() = default;
    virtual void startDockStateMonitoring() = 0;
    virtual void handleDockTilePinStateChanged(const Notification& notification) = 0;
};
