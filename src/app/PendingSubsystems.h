#pragma once

#include "MainWindowPresenter.h"
#include "platform/Updater.h"

// Holds the places of the subsystems still to be built (the main window, the updater) so that start-up runs its full
// order of steps today. Each operation does nothing and reports nothing; each port is taken over by its subsystem as
// that lands.
class PendingSubsystems final : public MainWindowPresenter, public Updater {
public:
    void showMainWindow(MainWindowPage) override {}

    void start() override {}
};
