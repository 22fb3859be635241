#pragma once

#include "model/AppFolder.h"
#include "model/Enums.h"
#include "platform/Notification.h"

#include <functional>

// The folder popup panel of a helper, as the delegate drives it.
class PopupPresenter {
public:
    virtual ~PopupPresenter() = default;
    // Opens the popup, or closes it when it is already visible.
    virtual void presentPopup(const AppFolder& folder) = 0;
    // Opens the popup when it is closed, asked from elsewhere than the tile (a command line): the
    // pointer says nothing of where the tile is, so it stands at the tile only where the dock
    // tells that place, else centred.
    virtual void showPopupWithoutClick(const AppFolder& folder) = 0;
    virtual bool hasPopup() const = 0;
    virtual bool isPopupVisible() const = 0;
    virtual void layOutPopupAgain() = 0;
    virtual void setPopupAppearance(AppThemeMode theme) = 0;
    virtual void handleClosePopupsNotification(const Notification& notification) = 0;
    // Runs after every close of the popup.
    virtual void setCloseHandler(std::function<void()> handler) = 0;
};
