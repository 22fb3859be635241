#include "AppDelegate.h"
#include "platform/Protocol.h"

#include "MainAppPresentation.h"
#include "helpers/DockPreferences.h"
#include "helpers/HelperState.h"
#include "helpers/RunMode.h"
#include "model/DockHeight.h"
#include "model/FolderStore.h"
#include "model/HelperTileActions.h"
#include "platform/Application.h"
#include "platform/Console.h"
#include "platform/DistributedNotifications.h"
#include "platform/FreedMemory.h"
#include "platform/LocalNotificationCenter.h"
#include "platform/NotificationNames.h"
#include "platform/SystemTray.h"
#include "platform/Updater.h"
#include "platform/UserDefaults.h"
#include "settings/AppSettings.h"
#include "tile/TilePresenter.h"

namespace {

// A helper counts as started by the main application when its launch marker is this fresh.
constexpr double kLaunchMarkerFreshness = 60.0;
constexpr double kBadgeSeconds = 2.0;

} // namespace

AppDelegate::AppDelegate(Services services, QObject* parent)
    : QObject(parent)
    , m_services(std::move(services))
    , m_tileReloads(m_services.scheduler, reloadInterval, [this] { updateDockTile(); })
    , m_popupReloads(m_services.scheduler, reloadInterval, [this] { refreshPopupSettings(); })
    , m_themeReloads(m_services.scheduler, reloadInterval, [this] { refreshTheme(); }) {
    // Only a reopen that arrives while the launch popup is still open is swallowed.
    m_services.popup.setCloseHandler([this] { m_shouldIgnoreNextHelperReopen = false; });
    // A flood leaves its messages' memory with the allocator; a helper idles for hours after it.
    for (Throttle* reloads : {&m_tileReloads, &m_popupReloads, &m_themeReloads}) {
        reloads->setBurstEndHandler([](int requests) {
            if (requests > 1)
                FreedMemory::giveBack();
        });
    }
}

AppDelegate::~AppDelegate() = default;

void AppDelegate::applicationWillFinishLaunching() {
    const QString language =
        m_services.defaults.stringForKey(QStringLiteral("language")).value_or(QStringLiteral("en"));
    m_services.defaults.setObject(QStringLiteral("AppleLanguages"), QVariantList{language});
}

std::optional<AppFolder> AppDelegate::helperFolder() const {
    const std::optional<QUuid> folderID = m_services.runMode.helperFolderID();
    if (!folderID)
        return std::nullopt;
    for (const AppFolder& folder : m_services.store.folders()) {
        if (folder.id == *folderID)
            return folder;
    }
    return std::nullopt;
}

void AppDelegate::applicationDidFinishLaunching() {
    if (!m_services.runMode.isHelperProcess())
        m_services.updater.start();
    m_services.settings.reloadFromDefaults();
    m_services.store.load();

    m_services.dockHeight.storeFromTileSize(m_services.dockPreferences.dockTileSize());

    // A helper whose folder is gone runs the main application's start-up.
    if (const std::optional<AppFolder> folder = helperFolder())
        startHelper(*folder);
    else
        startMainApplication();
    observeDistributedNotifications();
}

void AppDelegate::startHelper(const AppFolder& folder) {
    m_services.application.setActivationPolicy(ActivationPolicy::Regular);
    m_services.application.orderOutFirstWindow();
    m_hasHandledInitialReopen = false;
    m_shouldIgnoreNextHelperReopen = false;

    m_services.tile.presentFolderTile(folder);

    const std::optional<double> launchedAt = m_services.helperState.takeLaunchMarker(folder.id);
    const bool launchedByMainApplication = launchedAt && m_services.clock.now() - *launchedAt <= kLaunchMarkerFreshness;
    if (launchedByMainApplication)
        m_services.tile.showBadge(QStringLiteral("ON"), SystemColor::Green, kBadgeSeconds);

    // Started by a click on its Dock tile: the user wants the popup now.
    if (!launchedByMainApplication && !m_services.runMode.startedWithGroupArgument()) {
        m_pendingInitialHelperPopupFolderID = folder.id;
        presentPopup(folder);
        m_shouldIgnoreNextHelperReopen = true;
    }
}

void AppDelegate::startMainApplication() {
    // An empty or stale list would remove the helpers of the folders the file holds.
    if (m_services.store.foldersFileUnreadable())
        Console::printLine(QStringLiteral("[AppDelegate] Helpers were left as they are: the folders file could not "
                                          "be read"));
    else
        m_services.helpers.syncHelpers(m_services.store.folders());
    m_services.dockMonitor.startDockStateMonitoring();
    applyInitialMainAppPresentation();

    m_services.localNotifications.addObserver(NotificationName::showMenuBarChanged, this,
                                              [this](const Notification&) { updateMainAppPresentationMode(); });
    m_services.localNotifications.addObserver(NotificationName::tileAppearanceChanged, this,
                                              [this](const Notification&) { m_tileReloads.request(); });
    // A tray that comes or goes moves the application into or out of the Dock.
    connect(&m_services.systemTray, &SystemTray::availabilityChanged, this,
            &AppDelegate::updateMainAppPresentationMode);
}

ActivationPolicy AppDelegate::mainAppActivationPolicy() const {
    return MainAppPresentation::activationPolicy(m_services.settings.showMenuBar(),
                                                 m_services.systemTray.isAvailable());
}

void AppDelegate::applyInitialMainAppPresentation() {
    m_services.application.setActivationPolicy(mainAppActivationPolicy());
    m_didApplyInitialMainAppPresentation = true;
}

void AppDelegate::observeDistributedNotifications() {
    const auto observe = [this](QLatin1String name, void (*handler)(AppDelegate&, const Notification&)) {
        m_services.distributedNotifications.observe(name, this,
                                                    [this, handler](const Notification& n) { handler(*this, n); });
    };
    observe(NotificationName::TRTileAppearanceChanged,
            [](AppDelegate& d, const Notification&) { d.m_tileReloads.request(); });
    observe(NotificationName::TRPopupSettingsChanged,
            [](AppDelegate& d, const Notification&) { d.m_popupReloads.request(); });
    observe(NotificationName::TRThemeChanged, [](AppDelegate& d, const Notification&) { d.m_themeReloads.request(); });
    observe(NotificationName::TRCloseNonPinnedPopups,
            [](AppDelegate& d, const Notification& n) { d.m_services.popup.handleClosePopupsNotification(n); });
    observe(NotificationName::TRDockTilePinStateChanged, [](AppDelegate& d, const Notification& n) {
        if (!d.m_services.runMode.isHelperProcess())
            d.m_services.dockMonitor.handleDockTilePinStateChanged(n);
    });
    observe(NotificationName::TRFolderOffBadge, [](AppDelegate& d, const Notification& n) { d.offBadge(n); });
    observe(NotificationName::TRFolderDeleteBadge, [](AppDelegate& d, const Notification& n) { d.deleteBadge(n); });
    // An empty folder's popup asks for the folder list, where applications are added.
    observe(NotificationName::TROpenFolderInMainWindow, [](AppDelegate& d, const Notification&) {
        if (!d.m_services.runMode.isHelperProcess())
            d.m_services.mainWindow.showMainWindow(NavigationPage::AllFolders);
    });
}

bool AppDelegate::applicationShouldHandleReopen(bool /*hasVisibleWindows*/) {
    const std::optional<AppFolder> folder = helperFolder();
    if (!folder) {
        m_services.mainWindow.showMainWindow(NavigationPage::AllFolders);
        return false;
    }
    // The popup opened at launch stays open: the click that started the helper also reopens it.
    if (m_shouldIgnoreNextHelperReopen && m_services.popup.hasPopup() && m_services.popup.isPopupVisible()) {
        m_shouldIgnoreNextHelperReopen = false;
        return false;
    }
    m_hasHandledInitialReopen = true;
    m_pendingInitialHelperPopupFolderID.reset();
    presentPopup(*folder);
    return false;
}

void AppDelegate::applicationShouldShowPopup() {
    if (const std::optional<AppFolder> folder = helperFolder()) {
        m_pendingInitialHelperPopupFolderID.reset();
        m_services.popup.showPopupWithoutClick(*folder);
    }
}

void AppDelegate::presentPopup(const AppFolder& folder) {
    m_pendingInitialHelperPopupFolderID.reset();
    m_services.popup.presentPopup(folder);
}

void AppDelegate::applicationDidBecomeActive() {
    m_services.settings.reloadFromDefaults();
}

void AppDelegate::applicationWillTerminate() {
    if (const std::optional<QUuid> folderID = m_services.runMode.helperFolderID())
        m_services.helperState.consumePreserveMarker(*folderID);
}

void AppDelegate::openMainWindow() {
    m_services.mainWindow.showMainWindow(NavigationPage::AllFolders);
}

void AppDelegate::openSettings() {
    m_services.mainWindow.showMainWindow(NavigationPage::General);
}

void AppDelegate::updateMainAppPresentationMode() {
    if (m_services.runMode.isHelperProcess())
        return;
    m_didApplyInitialMainAppPresentation = true;
    const Application::WindowId keyWindow = m_services.application.keyWindow();
    m_services.application.setActivationPolicy(mainAppActivationPolicy());
    if (keyWindow != 0)
        m_services.application.orderFrontIfVisible(keyWindow);
}

void AppDelegate::updateDockTile() {
    // A tile drawn again from the same settings and folder is the same picture, and each drawing
    // is published to the Dock and written as the bundle's icon.
    const bool settingsChanged = m_services.settings.reloadFromDefaults();
    const bool foldersChanged = m_services.store.load();
    if ((settingsChanged || foldersChanged) && m_services.runMode.isHelperProcess())
        m_services.tile.refreshTile();
}

void AppDelegate::refreshPopupSettings() {
    m_services.settings.reloadFromDefaults();
    if (m_services.popup.hasPopup() && m_services.popup.isPopupVisible())
        m_services.popup.layOutPopupAgain();
}

void AppDelegate::refreshTheme() {
    m_services.settings.reloadFromDefaults();
    if (m_services.popup.hasPopup())
        m_services.popup.setPopupAppearance(m_services.settings.resolvedTheme());
}

bool AppDelegate::isForThisHelper(const Notification& notification) const {
    if (!m_services.runMode.isHelperProcess())
        return false;
    const QVariant id = notification.userInfo.value(Protocol::Key::id);
    const std::optional<QString> groupID = m_services.runMode.currentGroupID();
    return id.typeId() == QMetaType::QString && groupID && id.toString() == *groupID;
}

void AppDelegate::offBadge(const Notification& notification) {
    if (!isForThisHelper(notification))
        return;
    if (notification.userInfo.contains(Protocol::Key::hide))
        m_services.tile.refreshTile();
    else
        m_services.tile.showBadge(QStringLiteral("OFF"), SystemColor::Red, kBadgeSeconds);
}

void AppDelegate::deleteBadge(const Notification& notification) {
    if (isForThisHelper(notification))
        m_services.tile.showBadge(QStringLiteral("DELETE"), SystemColor::Red, kBadgeSeconds);
}
