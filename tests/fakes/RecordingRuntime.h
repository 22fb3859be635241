#pragma once

#include "app/RuntimePorts.h"
#include "platform/Application.h"
#include "platform/Updater.h"

#include <QStringList>

// Every port the application delegate drives, recording each call as one line, e.g.
// "showBadge ON green 2" or "presentPopup <id>". Answers come from the public fields.
class RecordingRuntime final : public HelperRuntime,
                               public SettingsRuntime,
                               public TilePresenter,
                               public PopupPresenter,
                               public DockStateMonitor,
                               public MainWindowPresenter,
                               public Updater,
                               public Application {
public:
    std::optional<double> dockTileSize() const override { return tileSize; }
    void syncHelpers(const QList<AppFolder>& folders) override;

    void reloadFromDefaults() override { calls.append("reloadFromDefaults"); }
    bool showMenuBar() const override { return menuBar; }
    AppThemeMode appTheme() const override { return theme; }

    void presentFolderTile(const AppFolder& folder) override;
    void showBadge(const QString& text, SystemColor color, double seconds) override;
    void refreshTile() override { calls.append("refreshTile"); }

    void presentPopup(const AppFolder& folder) override;
    bool hasPopup() const override { return popupExists; }
    bool isPopupVisible() const override { return popupVisible; }
    void layOutPopupAgain() override { calls.append("layOutPopupAgain"); }
    void setPopupAppearance(AppThemeMode theme) override;
    void handleClosePopupsNotification(const Notification& n) override;

    void startDockStateMonitoring() override { calls.append("startDockStateMonitoring"); }
    void handleDockTilePinStateChanged(const Notification& n) override;

    void showMainWindow(MainWindowPage page) override;

    void start() override { calls.append("startUpdater"); }

    void setActivationPolicy(ActivationPolicy policy) override;
    ActivationPolicy activationPolicy() const override { return policy; }
    void orderOutFirstWindow() override { calls.append("orderOutFirstWindow"); }
    WindowId keyWindow() const override { return key; }
    void orderFrontIfVisible(WindowId window) override;

    QStringList calls;
    std::optional<double> tileSize;
    bool menuBar = false;
    AppThemeMode theme = AppThemeMode::Dark;
    bool popupExists = false;
    bool popupVisible = false;
    ActivationPolicy policy = ActivationPolicy::Regular;
    WindowId key = 0;
};
