#pragma once

#include "MainWindowPresenter.h"
#include "PopupPresenter.h"
#include "platform/Updater.h"

// Holds the places of the subsystems still to be built (the popup, the main window, the
// updater) so that start-up runs its full order of steps today. Each operation does
// nothing and reports nothing; each port is taken over by its subsystem as that lands.
class PendingSubsystems final : public PopupPresenter, public MainWindowPresenter, public Updater {
public:
    void presentPopup(const AppFolder&) override {}
    bool hasPopup() const override { return false; }
    bool isPopupVisible() const override { return false; }
    void layOutPopupAgain() override {}
    void setPopupAppearance(AppThemeMode) override {}
    void handleClosePopupsNotification(const Notification&) override {}

    void showMainWindow(MainWindowPage) override {}

    void start() override {}
};
