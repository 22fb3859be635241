#pragma once

#include "RecordingHelperActions.h"
#include "app/DockStateMonitor.h"
#include "app/MainWindowPresenter.h"
#include "platform/Application.h"
#include "platform/Updater.h"
#include "popup/PopupPresenter.h"
#include "tile/TilePresenter.h"

#include <QStringList>

// Every port the application delegate drives, recording each call as one line in the one
// timeline of `calls`, e.g. "syncHelpers 2", "showBadge ON green 2" or "presentPopup <id>".
// Answers come from the public fields.
class RecordingRuntime final : public RecordingHelperActions,
                               public TilePresenter,
                               public PopupPresenter,
                               public DockStateMonitor,
                               public MainWindowPresenter,
                               public Updater,
                               public Application {
public:
    void presentFolderTile(const AppFolder& folder) override;
    void showBadge(const QString& text, SystemColor color, double seconds) override;
    void refreshTile() override { record("refreshTile"); }

    void presentPopup(const AppFolder& folder) override;
    void showPopupWithoutClick(const AppFolder& folder) override;
    bool hasPopup() const override { return popupExists; }
    bool isPopupVisible() const override { return popupVisible; }
    void layOutPopupAgain() override { record("layOutPopupAgain"); }
    void setPopupAppearance(AppThemeMode theme) override;
    void handleClosePopupsNotification(const Notification& n) override;
    void setCloseHandler(std::function<void()> handler) override { popupClosed = std::move(handler); }

    void startDockStateMonitoring() override { record("startDockStateMonitoring"); }
    void handleDockTilePinStateChanged(const Notification& n) override;

    void showMainWindow(NavigationPage page) override;

    void start() override { record("startUpdater"); }
    void checkForUpdates() override { record("checkForUpdates"); }

    void setActivationPolicy(ActivationPolicy policy) override;
    ActivationPolicy activationPolicy() const override { return policy; }
    void orderOutFirstWindow() override { record("orderOutFirstWindow"); }
    WindowId keyWindow() const override { return key; }
    void orderFrontIfVisible(WindowId window) override;

    // What the popup runs when it closes, as the delegate asked.
    std::function<void()> popupClosed;
    bool popupExists = false;
    bool popupVisible = false;
    ActivationPolicy policy = ActivationPolicy::Regular;
    WindowId key = 0;
};
