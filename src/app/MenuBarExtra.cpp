#include "MenuBarExtra.h"

#include "MainAppPresentation.h"
#include "MainWindowController.h"
#include "platform/Bundle.h"
#include "platform/Scheduler.h"
#include "platform/Symbols.h"
#include "platform/SystemTray.h"
#include "settings/AppSettings.h"
#include "settings/Localization.h"
#include "settings/LocalizationKeys.h"
#include "widgets/Theme.h"

#include <QCoreApplication>
#include <QIcon>
#include <QMenu>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QSystemTrayIcon>

namespace {

// Menu symbols in the menu's own text colour, at the size of its text.
QIcon symbolIcon(const QString& name, const QColor& colour) {
    const std::optional<QImage> image = Symbols::image(name, 16, false, colour);
    return image ? QIcon(QPixmap::fromImage(*image)) : QIcon();
}

// The bundle's "MenuBarIcon" mark (and its @2x twin), or the folder-grid symbol where there is none.
QIcon trayImage() {
    const Bundle bundle = Bundle::enclosingExecutable(QCoreApplication::applicationFilePath());
    QIcon icon;
    if (bundle.isValid()) {
        for (const auto& [name, rim] : {std::pair{"MenuBarIcon.png", 1}, {"MenuBarIcon@2x.png", 2}}) {
            const QImage mark(bundle.resourcesPath() + u'/' + QLatin1String(name));
            if (!mark.isNull())
                icon.addPixmap(QPixmap::fromImage(MenuBarExtra::trayPicture(mark, rim)));
        }
    }
    if (!icon.isNull())
        return icon;
    const std::optional<QImage> symbol = Symbols::image(QStringLiteral("square.grid.2x2.fill"), 22, false, Qt::white);
    return symbol ? QIcon(QPixmap::fromImage(*symbol)) : QIcon();
}

// The template's shape in one colour.
QImage tinted(const QImage& shape, const QColor& colour) {
    QImage image = shape.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(image.rect(), colour);
    return image;
}

} // namespace

MenuBarExtra::MenuBarExtra(Services services, QObject* parent)
    : QObject(parent)
    , m_services(std::move(services)) {
    if (m_services.isHelperProcess)
        return;
    build();
    connect(&m_services.settings, &AppSettings::changed, this, [this](AppSettings::Field field) {
        if (field == AppSettings::Field::ShowMenuBar)
            followSetting();
        else if (field == AppSettings::Field::Language)
            retranslate();
        else if (field == AppSettings::Field::AppTheme)
            restyle();
    });
    connect(&m_services.systemTray, &SystemTray::availabilityChanged, this, &MenuBarExtra::followSetting);
    followSetting();
}

MenuBarExtra::~MenuBarExtra() = default;

QImage MenuBarExtra::trayPicture(const QImage& menuBarTemplate, int rim) {
    // Drawn pixel for pixel, whatever scale the file's name gave it ("@2x").
    QImage shape = menuBarTemplate;
    shape.setDevicePixelRatio(1);
    QImage picture(shape.size(), QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    const QImage dark = tinted(shape, QColor(0, 0, 0, 190));
    for (int dx = -rim; dx <= rim; ++dx) {
        for (int dy = -rim; dy <= rim; ++dy) {
            if (dx != 0 || dy != 0)
                painter.drawImage(QPoint(dx, dy), dark);
        }
    }
    painter.drawImage(QPoint(0, 0), tinted(shape, QColor(250, 250, 252)));
    painter.end();
    picture.setDevicePixelRatio(menuBarTemplate.devicePixelRatio());
    return picture;
}

void MenuBarExtra::build() {
    m_menu = std::make_unique<QMenu>();
    m_open = m_menu->addAction(QString());
    m_settings = m_menu->addAction(QString());
    m_menu->addSeparator();
    m_quit = m_menu->addAction(QString());
    for (QAction* action : {m_open, m_settings, m_quit})
        action->setIconVisibleInMenu(true);

    // The menu's commands run on the next turn, after the menu has closed.
    const auto show = [this](NavigationPage page) {
        MainWindowController& controller = m_services.mainWindow;
        m_services.scheduler.schedule(0, [&controller, page] { controller.showMainWindow(page); });
    };
    connect(m_open, &QAction::triggered, this, [show] { show(NavigationPage::AllFolders); });
    connect(m_settings, &QAction::triggered, this, [show] { show(NavigationPage::General); });
    connect(m_quit, &QAction::triggered, this, [this] {
        if (m_services.quit)
            m_services.quit();
    });
    // As the window's scene does: the controller gets the way to make the window, which completes a
    // request that was waiting for one.
    connect(m_menu.get(), &QMenu::aboutToShow, this, [this] {
        if (m_services.openWindowAction)
            m_services.mainWindow.registerOpenWindowAction(m_services.openWindowAction);
    });

    restyle();
    retranslate();
}

void MenuBarExtra::restyle() {
    m_menu->setPalette(Theme::palette(colorSchemeFor(m_services.settings.resolvedTheme())));
    const QColor text = m_menu->palette().color(QPalette::Text);
    m_open->setIcon(symbolIcon(QStringLiteral("square.grid.3x1.folder.badge.plus"), text));
    m_settings->setIcon(symbolIcon(QStringLiteral("gearshape"), text));
    m_quit->setIcon(symbolIcon(QStringLiteral("power"), text));
}

void MenuBarExtra::retranslate() {
    const Localization& localization = m_services.localization;
    m_open->setText(localization.text(L10nKey::menuOpen));
    m_settings->setText(localization.text(L10nKey::menuSettings));
    m_quit->setText(localization.text(L10nKey::menuQuit));
}

void MenuBarExtra::followSetting() {
    const bool shown = MainAppPresentation::showsMenuBarExtra(
        m_services.isHelperProcess, m_services.settings.showMenuBar(), m_services.systemTray.isAvailable());
    if (!shown) {
        m_trayIcon.reset();
        return;
    }
    if (m_trayIcon)
        return;
    m_trayIcon = std::make_unique<QSystemTrayIcon>(trayImage());
    m_trayIcon->setToolTip(QStringLiteral("Trellin"));
    m_trayIcon->setContextMenu(m_menu.get());
    // A plain click opens the menu too, as a menu-bar item does.
    connect(m_trayIcon.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger)
            m_menu->popup(QCursor::pos());
    });
    m_trayIcon->show();
}
