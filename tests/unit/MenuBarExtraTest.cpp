// The menu-bar extra: there with the setting and never in a helper, its three items in the
// interface language, and what each one does.
#include "app/MenuBarExtra.h"
#include "MainWindowTestBed.h"
#include "RecordingRuntime.h"
#include "app/MainWindowController.h"
#include "settings/LocalizationKeys.h"
#include "ui/MainWindowNavigation.h"

#include <QAction>
#include <QMenu>
#include <QPainter>
#include <QSystemTrayIcon>
#include <QTest>

class MenuBarExtraTest : public QObject {
    Q_OBJECT

    std::unique_ptr<MenuBarExtra> makeExtra(bool helper) {
        return std::make_unique<MenuBarExtra>(MenuBarExtra::Services{
            .settings = *m_bed->settings,
            .localization = m_bed->localization,
            .scheduler = m_bed->clock,
            .mainWindow = *m_controller,
            .openWindowAction = [this] { ++m_windowsOpened; },
            .quit = [this] { ++m_quits; },
            .isHelperProcess = helper,
        });
    }

private Q_SLOTS:
    void init() {
        m_bed = std::make_unique<MainWindowTestBed>();
        m_runtime = std::make_unique<RecordingRuntime>();
        m_controller = std::make_unique<MainWindowController>(MainWindowController::Services{
            .application = *m_runtime,
            .settings = *m_bed->settings,
            .scheduler = m_bed->clock,
            .notifications = m_bed->home.localNotifications,
            .navigation = m_navigation,
        });
        m_windowsOpened = 0;
        m_quits = 0;
    }
    void cleanup() {
        m_controller.reset();
        m_bed.reset();
    }

    void aHelperHasNoExtraEvenWithTheSettingOn() {
        m_bed->settings->setShowMenuBar(true);
        const auto extra = makeExtra(true);
        QVERIFY(!extra->trayIcon() && !extra->menu());
        QVERIFY(!MenuBarExtra::isInserted(true, true));
    }

    void theExtraFollowsTheSetting() {
        const auto extra = makeExtra(false);
        QVERIFY(!extra->trayIcon()->isVisible());
        m_bed->settings->setShowMenuBar(true);
        QVERIFY(extra->trayIcon()->isVisible());
        m_bed->settings->setShowMenuBar(false);
        QVERIFY(!extra->trayIcon()->isVisible());
    }

    void itemsInOrderWithSymbolsInTheInterfaceLanguage() {
        const auto extra = makeExtra(false);
        const QList<QAction*> actions = extra->menu()->actions();
        QCOMPARE(actions.size(), 4);
        QCOMPARE(actions[0], extra->openAction());
        QCOMPARE(actions[1], extra->settingsAction());
        QVERIFY(actions[2]->isSeparator());
        QCOMPARE(actions[3], extra->quitAction());
        for (QAction* action : {actions[0], actions[1], actions[3]})
            QVERIFY(!action->icon().isNull() && !action->text().isEmpty());
        const QString english = extra->quitAction()->text();
        m_bed->settings->setLanguage(AppLanguage::Ukrainian);
        QVERIFY(extra->quitAction()->text() != english);
        QCOMPARE(extra->quitAction()->text(), m_bed->localization.text(L10nKey::menuQuit));

        // The menu as the tray shows it, in both languages, for a person to look at.
        QImage sheet(520, 160, QImage::Format_RGB32);
        sheet.fill(QColor(120, 140, 170));
        QPainter painter(&sheet);
        for (const AppLanguage language : {AppLanguage::English, AppLanguage::Ukrainian}) {
            m_bed->settings->setLanguage(language);
            extra->menu()->adjustSize();
            const QPixmap menu = extra->menu()->grab();
            painter.drawPixmap(language == AppLanguage::English ? 20 : 270, 20, menu);
        }
        QVERIFY(sheet.save(QCoreApplication::applicationDirPath() + QStringLiteral("/menu-bar-menu.png")));
    }

    void itemsShowTheWindowOnTheirPageAfterTheMenuClosesAndQuitQuits() {
        const auto extra = makeExtra(false);
        // Showing the menu hands the scene's window maker over, which completes a waiting request.
        m_controller->showMainWindow(NavigationPage::About);
        QVERIFY(m_controller->needsWindowCreationOnRegistration());
        Q_EMIT extra->menu()->aboutToShow();
        QVERIFY(!m_controller->needsWindowCreationOnRegistration());
        QCOMPARE(m_windowsOpened, 1);

        extra->settingsAction()->trigger();
        QCOMPARE(*m_navigation.pendingDestination(), NavigationPage::About);
        m_bed->clock.advance(0);
        QCOMPARE(*m_navigation.pendingDestination(), NavigationPage::General);
        extra->openAction()->trigger();
        m_bed->clock.advance(0);
        QCOMPARE(*m_navigation.pendingDestination(), NavigationPage::AllFolders);

        QCOMPARE(m_quits, 0);
        extra->quitAction()->trigger();
        QCOMPARE(m_quits, 1);
    }

private:
    std::unique_ptr<MainWindowTestBed> m_bed;
    std::unique_ptr<RecordingRuntime> m_runtime;
    MainWindowNavigation m_navigation;
    std::unique_ptr<MainWindowController> m_controller;
    int m_windowsOpened = 0;
    int m_quits = 0;
};

QTEST_MAIN(MenuBarExtraTest)
#include "MenuBarExtraTest.moc"
