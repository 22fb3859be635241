#pragma once

#include "MainWindowPresenter.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <array>
#include <functional>

class AppSettings;
class Application;
class LocalNotificationCenter;
class MainWindowNavigation;
class Scheduler;
class SystemTray;

// Opens the main window or shows it again, on the page asked for. The window itself is made by the
// scene, through the open-window action it registers; a request that comes before that is kept and
// completed at registration. Main thread only.
class MainWindowController final : public QObject, public MainWindowPresenter {
    Q_OBJECT
public:
    struct Services {
        Application& application;
        AppSettings& settings;
        Scheduler& scheduler;
        LocalNotificationCenter& notifications;
        MainWindowNavigation& navigation;
        const SystemTray& systemTray;
    };

    // A window that was asked for is looked for this many seconds after the request.
    static constexpr std::array<double, 5> revealRetryDelays{0, 0.04, 0.10, 0.18, 0.28};

    explicit MainWindowController(Services services, QObject* parent = nullptr);
    ~MainWindowController() override;

    void showMainWindow(NavigationPage page) override;
    // The scene's way of making the main window; completes a request that waited for it.
    void registerOpenWindowAction(std::function<void()> action);

    bool needsWindowCreationOnRegistration() const { return m_needsWindowCreationOnRegistration; }
    unsigned revealRequestToken() const { return m_revealRequestToken; }
    // The main window: the one found last while it lives, else the first top-level window (panels
    // skipped) with the window identifier, else the first titled "Trellin".
    QWidget* findWindow();

private:
    void reveal(QWidget* window);
    void revealMiniaturised(QWidget* window);
    void runRevealRetries();
    void postNavigation(double delay);
    void stopObservingDeminiaturise();

    Services m_services;
    std::function<void()> m_openWindowAction;
    bool m_needsWindowCreationOnRegistration = false;
    QPointer<QWidget> m_registeredMainWindow;
    unsigned m_revealRequestToken = 0;
    QPointer<QObject> m_deminiaturizeObserver;
};
