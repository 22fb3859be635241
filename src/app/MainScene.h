#pragma once

#include "ui/MainWindowEnvironment.h"
#include "ui/MainWindowNavigation.h"

#include <functional>
#include <memory>

class LocalNotificationCenter;
class MainWindowController;
class MainWindowView;

// What the main application shows of itself: its one main window, made on the first request and
// then only hidden and shown again. A helper shows none.
class MainScene {
public:
    struct Services {
        const MainWindowEnvironment& environment;
        MainWindowNavigation& navigation;
        LocalNotificationCenter& notifications;
        MainWindowController& controller;
        bool translucentWindows = true;
    };

    explicit MainScene(Services services);
    ~MainScene();

    // Launch of the main application: the window appears (unless this launch asked for none), and
    // the controller gets the way to make it.
    void launch(bool showWindow = true);
    MainWindowView* window() const { return m_window.get(); }
    // Makes the window if need be and shows it: what the controller is given to open it with.
    std::function<void()> openWindowAction();

private:
    void openWindow();

    Services m_services;
    std::unique_ptr<MainWindowView> m_window;
};
