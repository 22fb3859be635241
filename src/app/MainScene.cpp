#include "MainScene.h"

#include "MainWindowController.h"
#include "ui/MainWindowView.h"

MainScene::MainScene(Services services)
    : m_services(services) {}

MainScene::~MainScene() = default;

void MainScene::launch(bool showWindow) {
    if (showWindow)
        openWindow();
    m_services.controller.registerOpenWindowAction(openWindowAction());
}

std::function<void()> MainScene::openWindowAction() {
    return [this] { openWindow(); };
}

void MainScene::openWindow() {
    if (!m_window)
        m_window = std::make_unique<MainWindowView>(MainWindowView::Services{
            .environment = m_services.environment,
            .navigation = m_services.navigation,
            .notifications = m_services.notifications,
            .translucentWindows = m_services.translucentWindows,
            .showMainWindow = [this](NavigationPage page) { m_services.controller.showMainWindow(page); },
        });
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}
