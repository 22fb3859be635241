// Showing the main window: a request before the scene can make a window, the reveal retries and
// their token, a minimised window, the presentation mode and the page handed to the window.
#include "app/MainWindowController.h"
#include "MainWindowTestBed.h"
#include "RecordingRuntime.h"
#include "platform/NotificationNames.h"
#include "platform/Protocol.h"
#include "ui/MainWindowNavigation.h"
#include "ui/MainWindowView.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

class MainWindowControllerTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        m_bed = std::make_unique<MainWindowTestBed>();
        m_bed->settings->setHasCompletedOnboarding(true);
        m_runtime = std::make_unique<RecordingRuntime>();
        m_controller = std::make_unique<MainWindowController>(MainWindowController::Services{
            .application = *m_runtime,
            .settings = *m_bed->settings,
            .scheduler = m_bed->clock,
            .notifications = m_bed->home.localNotifications,
            .navigation = m_navigation,
            .systemTray = m_bed->tray,
        });
        m_navigations = 0;
        m_bed->home.localNotifications.addObserver(NotificationName::mainWindowNavigationRequested,
                                                   [this](const Notification&) { ++m_navigations; });
    }
    void cleanup() {
        m_controller.reset();
        m_window.reset();
        m_bed.reset();
    }

    void requestBeforeRegistrationIsCompletedThen() {
        m_bed->settings->setShowMenuBar(true);
        m_controller->showMainWindow(NavigationPage::General);
        QVERIFY(m_controller->needsWindowCreationOnRegistration());
        QCOMPARE(m_runtime->policy, ActivationPolicy::Accessory);
        QCOMPARE(*m_navigation.pendingDestination(), NavigationPage::General);

        int opened = 0;
        m_controller->registerOpenWindowAction([this, &opened] {
            ++opened;
            makeWindow();
        });
        QVERIFY(!m_controller->needsWindowCreationOnRegistration());
        QCOMPARE(opened, 1);
        const unsigned token = m_controller->revealRequestToken();
        // The first retry finds the window and stops the rest.
        m_bed->clock.advance(0.3);
        QVERIFY(m_window->isVisible());
        QCOMPARE(m_controller->revealRequestToken(), token + 1);
        // The window takes the page on the turn after it shows.
        QCOMPARE(*m_navigation.pendingDestination(), NavigationPage::General);
        m_bed->clock.advance(0);
        QVERIFY(!m_navigation.pendingDestination());
        QCOMPARE(m_window->selection(), NavigationPage::General);
    }

    void onlyTheNewestRequestsRetriesReveal() {
        // The scene makes its window late, after both requests.
        m_controller->registerOpenWindowAction([] {});
        m_controller->showMainWindow(NavigationPage::AllFolders);
        m_bed->clock.advance(0.01);
        m_controller->showMainWindow(NavigationPage::About);
        const unsigned newest = m_controller->revealRequestToken();
        m_bed->clock.advance(0.01);
        makeWindow();
        m_window->hide();
        // 0.04 s after the first request: its retry is stale and leaves the window alone.
        m_bed->clock.advance(0.025);
        QVERIFY(!m_window->isVisible());
        // 0.04 s after the newest: revealed, once.
        m_bed->clock.advance(0.01);
        QVERIFY(m_window->isVisible());
        QCOMPARE(m_controller->revealRequestToken(), newest + 1);
        m_window->hide();
        m_bed->clock.advance(0.5);
        QVERIFY(!m_window->isVisible());
    }

    void existingWindowIsShownAndToldToNavigateOnTheNextTurn() {
        makeWindow();
        m_window->hide();
        m_controller->showMainWindow(NavigationPage::About);
        QVERIFY(m_window->isVisible());
        QCOMPARE(m_runtime->policy, ActivationPolicy::Regular);
        QCOMPARE(m_navigations, 0);
        m_bed->clock.advance(0);
        QCOMPARE(m_navigations, 1);
        QCOMPARE(m_window->selection(), NavigationPage::About);
    }

    // A minimised window is brought back first, and told its page only once it is back.
    void minimisedWindowIsRestoredThenToldItsPage() {
        makeWindow();
        m_bed->clock.advance(0);
        m_window->setWindowState(m_window->windowState() | Qt::WindowMinimized);
        QVERIFY(m_window->isMinimized());
        m_controller->showMainWindow(NavigationPage::Popup);
        QVERIFY(!m_window->isMinimized());
        QVERIFY(m_window->isVisible());
        QCOMPARE(m_navigations, 0);
        // The window system's word that it is back comes as an event; the navigation follows it.
        QTRY_COMPARE((m_bed->clock.advance(0), m_navigations), 1);
        QCOMPARE(m_window->selection(), NavigationPage::Popup);
        // Nothing more follows.
        m_bed->clock.advance(1);
        QCOMPARE(m_navigations, 1);
    }

    void findsTheWindowByIdentifierThenTitleSkippingPanels() {
        QWidget panel(nullptr, Qt::Tool);
        panel.setObjectName(Protocol::MainWindow::identifier);
        QWidget titled;
        titled.setWindowTitle(QStringLiteral("Trellin"));
        QCOMPARE(m_controller->findWindow(), &titled);
        QWidget identified;
        identified.setObjectName(Protocol::MainWindow::identifier);
        // The window found first stays the one while it lives.
        QCOMPARE(m_controller->findWindow(), &titled);
    }

    void closedWindowIsTheSameWindowShownAgain() {
        m_controller->registerOpenWindowAction([this] { makeWindow(); });
        m_controller->showMainWindow(NavigationPage::AllFolders);
        m_bed->clock.advance(0.3);
        QWidget* first = m_window.get();
        QCOMPARE(first->objectName(), Protocol::MainWindow::identifier);
        first->close();
        QVERIFY(!first->isVisible());
        m_controller->showMainWindow(NavigationPage::AllFolders);
        QCOMPARE(m_controller->findWindow(), first);
        QVERIFY(first->isVisible());
    }

private:
    // The real window, which names itself for the controller to find.
    void makeWindow() {
        if (!m_window)
            m_window = std::make_unique<MainWindowView>(MainWindowView::Services{
                .environment = m_bed->environment,
                .navigation = m_navigation,
                .notifications = m_bed->home.localNotifications,
            });
        m_window->show();
    }

    std::unique_ptr<MainWindowTestBed> m_bed;
    std::unique_ptr<RecordingRuntime> m_runtime;
    MainWindowNavigation m_navigation;
    std::unique_ptr<MainWindowController> m_controller;
    std::unique_ptr<MainWindowView> m_window;
    int m_navigations = 0;
};

QTEST_MAIN(MainWindowControllerTest)
#include "MainWindowControllerTest.moc"
