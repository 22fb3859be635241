#pragma once

#include "RuntimePorts.h"
#include "platform/Updater.h"

// Stands in for the subsystems that are not built yet (the popup, Dock watching, the main
// window, the updater). Each operation does nothing and
// reports nothing, so start-up runs its full order of steps today.
class PendingSubsystems final : public PopupPresenter,
                                public DockStateMonitor,
                                public MainWindowPresenter,
                                public Updater {
public:
    void presentPopup(const AppFolder&) override {}
    bool hasPopup() const override { return false; }
    bool isPopupVisible() const override { return false; }
    void layOutPopupAgain() override {}
    void setPopupAppearance(AppThemeMode) override {}
    void handleClosePopupsNotification(const Notification&) override {}

    void startDockStateMonitoring() override {}
    void handleDockTilePinStateChanged(const Notification&) override {}

    void showMainWindow(MainWindowPage) override {}

    void start() override {}
};
