// The menu-bar extra: there with the setting and never in a helper, its three items in the
// interface language, and what each one does.
#include "app/MenuBarExtra.h"
#include "MainWindowTestBed.h"
#include "RecordingRuntime.h"
#include "app/MainWindowController.h"
#include "settings/LocalizationKeys.h"
#include "ui/MainWindowNavigation.h"
#include "widgets/Theme.h"

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
            .systemTray = m_bed->tray,
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
            .systemTray = m_bed->tray,
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
        m_bed->tray.setAvailable(false);
        m_bed->tray.setAvailable(true);
        QVERIFY(!extra->trayIcon());
    }

    // The icon is there while the setting is on and a tray can show it; a tray that comes later
    // gets a new icon, which is what registers with it.
    void theExtraFollowsTheSettingAndTheTray() {
        const auto extra = makeExtra(false);
        QVERIFY(!extra->trayIcon());
        m_bed->settings->setShowMenuBar(true);
        QVERIFY(extra->trayIcon() && extra->trayIcon()->isVisible());
        QCOMPARE(extra->trayIcon()->contextMenu(), extra->menu());
        m_bed->settings->setShowMenuBar(false);
        QVERIFY(!extra->trayIcon());

        m_bed->settings->setShowMenuBar(true);
        m_bed->tray.setAvailable(false);
        QVERIFY(!extra->trayIcon() && extra->menu());
        m_bed->tray.setAvailable(true);
        QVERIFY(extra->trayIcon() && extra->trayIcon()->isVisible());
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

        // The menu as the tray shows it, in both languages and both themes, for a person to look at.
        QImage sheet(520, 300, QImage::Format_RGB32);
        sheet.fill(QColor(120, 140, 170));
        QPainter painter(&sheet);
        for (const AppThemeMode theme : {AppThemeMode::Light, AppThemeMode::Dark}) {
            m_bed->settings->setAppTheme(theme);
            for (const AppLanguage language : {AppLanguage::English, AppLanguage::Ukrainian}) {
                m_bed->settings->setLanguage(language);
                extra->menu()->adjustSize();
                const QPixmap menu = extra->menu()->grab();
                painter.drawPixmap(language == AppLanguage::English ? 20 : 270, theme == AppThemeMode::Light ? 20 : 160,
                                   menu);
            }
        }
        QVERIFY(sheet.save(QCoreApplication::applicationDirPath() + QStringLiteral("/menu-bar-menu.png")));
    }

    // The tray's picture of the menu-bar template reads on a light and on a dark panel: over each,
    // much of the mark stands far from the panel's colour. Written next to the test as
    // menu-bar-icon.png on four panels for a person to look at.
    void theMarkReadsOnLightAndDarkPanels() {
        const QString resources = QStringLiteral(TRELLIN_BUNDLE_DIR "/Contents/Resources/");
        const QColor panels[] = {Qt::white, QColor(236, 236, 236), QColor(48, 48, 52), Qt::black};
        QImage sheet(4 * 160, 200, QImage::Format_RGB32);
        QPainter painter(&sheet);
        for (const auto& [name, rim] : {std::pair{"MenuBarIcon.png", 1}, {"MenuBarIcon@2x.png", 2}}) {
            const QImage mark(resources + name);
            QVERIFY(!mark.isNull());
            const QImage picture = MenuBarExtra::trayPicture(mark, rim);
            QCOMPARE(picture.devicePixelRatio(), double(rim)); // the @2x file stays a 2x picture
            QImage plain = picture;
            plain.setDevicePixelRatio(1);
            int shape = 0;
            for (int y = 0; y < mark.height(); ++y)
                for (int x = 0; x < mark.width(); ++x)
                    shape += mark.pixelColor(x, y).alpha() > 128;
            for (int i = 0; i < 4; ++i) {
                QImage onPanel(plain.size(), QImage::Format_RGB32);
                onPanel.fill(panels[i]);
                QPainter panel(&onPanel);
                panel.drawImage(0, 0, plain);
                panel.end();
                int standsOut = 0;
                for (int y = 0; y < onPanel.height(); ++y)
                    for (int x = 0; x < onPanel.width(); ++x)
                        standsOut += qAbs(qGray(onPanel.pixel(x, y)) - qGray(panels[i].rgb())) > 120;
                QVERIFY2(standsOut >= shape * 2 / 3, qPrintable(QStringLiteral("%1 on panel %2").arg(name).arg(i)));
                if (rim == 1)
                    painter.fillRect(i * 160, 0, 160, 200, panels[i]);
                // As the tray shows it, and magnified three times to judge its pixels.
                painter.drawImage(i * 160 + 8, rim == 1 ? 8 : 40, plain);
                painter.drawImage(
                    QRect(i * 160 + 60, rim == 1 ? 8 : 76, plain.width() * 3 / rim, plain.height() * 3 / rim), plain);
            }
        }
        painter.end();
        QVERIFY(sheet.save(QCoreApplication::applicationDirPath() + QStringLiteral("/menu-bar-icon.png")));
    }

    // The menu is drawn in the application's theme, its symbols in the menu's own text colour.
    void theMenuFollowsTheTheme() {
        const auto extra = makeExtra(false);
        // The colour of the symbol's most opaque pixel.
        const auto symbolInk = [&extra] {
            const QImage symbol = extra->quitAction()->icon().pixmap(16).toImage();
            QColor ink(Qt::transparent);
            for (int y = 0; y < symbol.height(); ++y)
                for (int x = 0; x < symbol.width(); ++x)
                    if (symbol.pixelColor(x, y).alpha() > ink.alpha())
                        ink = symbol.pixelColor(x, y);
            return ink;
        };
        for (const AppThemeMode theme : {AppThemeMode::Light, AppThemeMode::Dark, AppThemeMode::Light}) {
            m_bed->settings->setAppTheme(theme);
            const QPalette expected = Theme::palette(colorSchemeFor(theme));
            const QPalette palette = extra->menu()->palette();
            QCOMPARE(palette.color(QPalette::Window), expected.color(QPalette::Window));
            QCOMPARE(palette.color(QPalette::Text), expected.color(QPalette::Text));
            const QColor ink = symbolInk();
            const QColor text = expected.color(QPalette::Text);
            QVERIFY(ink.alpha() > 128);
            QVERIFY(qAbs(ink.red() - text.red()) + qAbs(ink.green() - text.green()) + qAbs(ink.blue() - text.blue()) <
                    24);
        }
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
