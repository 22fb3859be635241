#pragma once

#include "model/AppFolder.h"
#include "model/Enums.h"
#include "model/TileColors.h"
#include "platform/Notification.h"

#include <QString>

#include <optional>

// What the application delegate asks of the subsystems it drives. Each port is implemented
// by the subsystem that owns the work; the delegate only decides when.

enum class MainWindowPage { AllFolders, General };

class MainWindowPresenter {
public:
    virtual ~MainWindowPresenter() = default;
    virtual void showMainWindow(MainWindowPage page) = 0;
};

// The global settings as start-up and the refresh handlers need them.
class SettingsRuntime {
public:
    virtual ~SettingsRuntime() = default;
    virtual void reloadFromDefaults() = 0;
    virtual bool showMenuBar() const = 0;
    virtual AppThemeMode appTheme() const = 0;
};

// The helper side of the Dock: size of its tiles and keeping helper bundles in line.
class HelperRuntime {
public:
    virtual ~HelperRuntime() = default;
    virtual std::optional<double> dockTileSize() const = 0;
    virtual void syncHelpers(const QList<AppFolder>& folders) = 0;
};

// A helper's Dock tile.
class TilePresenter {
public:
    virtual ~TilePresenter() = default;
    // Draws the folder's tile, shows it on the Dock tile and writes it as the bundle icon.
    virtual void presentFolderTile(const AppFolder& folder) = 0;
    virtual void showBadge(const QString& text, SystemColor color, double seconds) = 0;
    virtual void refreshTile() = 0;
};

// The folder popup panel of a helper.
class PopupPresenter {
public:
    virtual ~PopupPresenter() = default;
    // Opens the popup, or closes it when it is already visible.
    virtual void presentPopup(const AppFolder& folder) = 0;
    virtual bool hasPopup() const = 0;
    virtual bool isPopupVisible() const = 0;
    virtual void layOutPopupAgain() = 0;
    virtual void setPopupAppearance(AppThemeMode theme) = 0;
    virtual void handleClosePopupsNotification(const Notification& notification) = 0;
};

// Watching the Dock's state from the main application.
class DockStateMonitor {
public:
    virtual ~DockStateMonitor() = default;
    virtual void startDockStateMonitoring() = 0;
    virtual void handleDockTilePinStateChanged(const Notification& notification) = 0;
};
