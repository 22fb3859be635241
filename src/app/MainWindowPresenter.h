#pragma once

// The pages the main window can be asked to open on.
enum class MainWindowPage { AllFolders, General };

// The main window, as the delegate shows it on a reopen or from the menu.
class MainWindowPresenter {
public:
    virtual ~MainWindowPresenter() = default;
    virtual void showMainWindow(MainWindowPage page) = 0;
};
