#pragma once

#include "platform/Updater.h"

// Holds the place of the subsystem still to be built (the updater) so that start-up runs its full
// order of steps today. It does nothing and reports nothing; the updater issue takes the port over.
class PendingSubsystems final : public Updater {
public:
    void start() override {}
    void checkForUpdates() override {}
};
