#pragma once

#include <QObject>

#include <functional>
#include <memory>

#include <QImage>

class AppSettings;
class Localization;
class MainWindowController;
class QAction;
class QMenu;
class QSystemTrayIcon;
class Scheduler;
class SystemTray;

// The menu-bar extra: an icon in the desktop's tray (a StatusNotifierItem where the desktop has
// one) whose menu opens the folder list or the settings, or quits. It is there while
// `showMenuBar` is on and a tray can show it, and never in a helper. The icon is made when it is
// to show and dropped when it is not: the toolkit picks its kind of tray when an icon is made,
// so one made before a tray came would never reach it. The menu is drawn in the application's theme.
class MenuBarExtra final : public QObject {
    Q_OBJECT
public:
    struct Services {
        AppSettings& settings;
        const Localization& localization;
        Scheduler& scheduler;
        MainWindowController& mainWindow;
        // The scene's way of making the main window, handed to the controller when the menu shows.
        std::function<void()> openWindowAction;
        std::function<void()> quit;
        bool isHelperProcess = false;
        const SystemTray& systemTray;
    };

    explicit MenuBarExtra(Services services, QObject* parent = nullptr);
    ~MenuBarExtra() override;

    // The tray's picture of the bundle's "MenuBarIcon" template (black on transparency): a tray
    // tints nothing and its panel may be light or dark, so the mark is drawn light inside a dark
    // rim `rim` pixels wide, which reads on either.
    static QImage trayPicture(const QImage& menuBarTemplate, int rim);

    // None while the extra is not shown.
    QSystemTrayIcon* trayIcon() const { return m_trayIcon.get(); }
    // None in a helper, which builds no menu at all.
    QMenu* menu() const { return m_menu.get(); }
    QAction* openAction() const { return m_open; }
    QAction* settingsAction() const { return m_settings; }
    QAction* quitAction() const { return m_quit; }

private:
    void build();
    void retranslate();
    void restyle();
    void followSetting();

    Services m_services;
    std::unique_ptr<QMenu> m_menu;
    std::unique_ptr<QSystemTrayIcon> m_trayIcon;
    QAction* m_open = nullptr;
    QAction* m_settings = nullptr;
    QAction* m_quit = nullptr;
};
