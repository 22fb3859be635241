#include "MainWindowController.h"
#include "platform/Protocol.h"

#include "MainAppPresentation.h"
#include "platform/Application.h"
#include "platform/LocalNotificationCenter.h"
#include "platform/NotificationNames.h"
#include "platform/Scheduler.h"
#include "platform/SystemTray.h"
#include "settings/AppSettings.h"
#include "ui/MainWindowNavigation.h"

#include <QApplication>
#include <QEvent>

namespace {

bool isPanel(const QWidget* window) {
    const Qt::WindowType type = window->windowType();
    return type == Qt::Tool || type == Qt::Popup || type == Qt::ToolTip || type == Qt::SplashScreen;
}

// Calls back once the window it watches is no longer minimised.
class DeminiaturizeObserver final : public QObject {
public:
    DeminiaturizeObserver(QWidget* window, std::function<void()> onDeminiaturized)
        : QObject(window)
        , m_onDeminiaturized(std::move(onDeminiaturized)) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::WindowStateChange && !static_cast<QWidget*>(watched)->isMinimized()) {
            // The callback removes this observer; let the event finish first.
            QMetaObject::invokeMethod(this, m_onDeminiaturized, Qt::QueuedConnection);
        }
        return false;
    }

private:
    std::function<void()> m_onDeminiaturized;
};

void bringToFront(QWidget* window) {
    if (window->isMinimized())
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

MainWindowController::MainWindowController(Services services, QObject* parent)
    : QObject(parent)
    , m_services(services) {}

MainWindowController::~MainWindowController() {
    stopObservingDeminiaturise();
}

QWidget* MainWindowController::findWindow() {
    if (m_registeredMainWindow && !isPanel(m_registeredMainWindow))
        return m_registeredMainWindow;
    const QWidgetList windows = QApplication::topLevelWidgets();
    const auto first = [&windows](auto matches) -> QWidget* {
        for (QWidget* window : windows)
            if (!isPanel(window) && matches(window))
                return window;
        return nullptr;
    };
    QWidget* found = first([](const QWidget* w) { return w->objectName() == Protocol::MainWindow::identifier; });
    if (!found)
        found = first([](const QWidget* w) { return w->windowTitle() == Protocol::MainWindow::title; });
    if (found)
        m_registeredMainWindow = found;
    return found;
}

void MainWindowController::showMainWindow(NavigationPage page) {
    m_services.navigation.setPendingDestination(page);
    m_services.application.setActivationPolicy(
        MainAppPresentation::activationPolicy(m_services.settings.showMenuBar(), m_services.systemTray.isAvailable()));
    if (QWidget* window = findWindow()) {
        if (window->isMinimized())
            revealMiniaturised(window);
        else
            reveal(window);
        return;
    }
    if (!m_openWindowAction) {
        m_needsWindowCreationOnRegistration = true;
        return;
    }
    m_openWindowAction();
    runRevealRetries();
}

void MainWindowController::registerOpenWindowAction(std::function<void()> action) {
    m_openWindowAction = std::move(action);
    if (!m_needsWindowCreationOnRegistration)
        return;
    m_needsWindowCreationOnRegistration = false;
    if (QWidget* window = findWindow()) {
        reveal(window);
        return;
    }
    m_openWindowAction();
    runRevealRetries();
}

void MainWindowController::reveal(QWidget* window) {
    bringToFront(window);
    postNavigation(0);
}

void MainWindowController::revealMiniaturised(QWidget* window) {
    stopObservingDeminiaturise();
    // The observer is the window's child: its call never comes after the window is gone.
    m_deminiaturizeObserver = new DeminiaturizeObserver(window, [this, window] {
        stopObservingDeminiaturise();
        reveal(window);
    });
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
}

void MainWindowController::stopObservingDeminiaturise() {
    if (m_deminiaturizeObserver)
        m_deminiaturizeObserver->deleteLater();
    m_deminiaturizeObserver = nullptr;
}

void MainWindowController::runRevealRetries() {
    const unsigned token = ++m_revealRequestToken;
    for (const double delay : revealRetryDelays) {
        m_services.scheduler.schedule(this, delay, [this, token] {
            if (m_revealRequestToken != token)
                return;
            if (QWidget* window = findWindow()) {
                bringToFront(window);
                ++m_revealRequestToken;
            }
        });
    }
}

void MainWindowController::postNavigation(double delay) {
    LocalNotificationCenter& notifications = m_services.notifications;
    m_services.scheduler.schedule(std::max(delay, 0.0), [&notifications] {
        notifications.post(NotificationName::mainWindowNavigationRequested);
    });
}
