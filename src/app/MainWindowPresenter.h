#pragma once

#include "ui/NavigationPage.h"

// The main window, as the delegate shows it on a reopen or from the menu.
class MainWindowPresenter {
public:
    virtual ~MainWindowPresenter() = default;
    virtual void showMainWindow(NavigationPage page) = 0;
};
