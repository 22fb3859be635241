#include "TrellinApp.h"

#include "AppDelegate.h"
#include "DockHostSelection.h"
#include "DockHostSwitch.h"
#include "DockStateReconciler.h"
#include "FolderCommandCenter.h"
#include "MainScene.h"
#include "MainWindowController.h"
#include "MenuBarExtra.h"
#include "UpdateDialogPresenter.h"
#include "discovery/AppDiscovery.h"
#include "discovery/FolderExchange.h"
#include "helpers/HelperManager.h"
#include "helpers/HostDockTiles.h"
#include "helpers/RunMode.h"
#include "model/DockHeight.h"
#include "model/FolderID.h"
#include "model/FolderStore.h"
#include "model/HelperLaunchLog.h"
#include "platform/Bundle.h"
#include "platform/Console.h"
#include "platform/DockFileFormat.h"
#include "platform/DockHost.h"
#include "platform/DockHostIds.h"
#include "platform/FileIconCache.h"
#include "platform/FileIcons.h"
#include "platform/FolderLaunchers.h"
#include "platform/LocalNotificationCenter.h"
#include "platform/NotificationNames.h"
#include "platform/Protocol.h"
#include "platform/Symbols.h"
#include "platform/linux/AppcastUpdater.h"
#include "platform/linux/DBusDistributedNotifications.h"
#include "platform/linux/DBusDockTile.h"
#include "platform/linux/DBusFolderCommands.h"
#include "platform/linux/DBusHelperEndings.h"
#include "platform/linux/DesktopSession.h"
#include "platform/linux/EarlyReopen.h"
#include "platform/linux/GioDesktopAppFolders.h"
#include "platform/linux/GnomeShellExtension.h"
#include "platform/linux/InotifyFileEvents.h"
#include "platform/linux/LinuxApplication.h"
#include "platform/linux/LinuxPaths.h"
#include "platform/linux/LinuxSystemTray.h"
#include "platform/linux/LinuxWorkspace.h"
#include "platform/linux/MainQueueScheduler.h"
#include "platform/linux/ModuleDesktopEntries.h"
#include "platform/linux/ModuleDesktopSettings.h"
#include "platform/linux/PlistPreferenceDomain.h"
#include "platform/linux/PlistUserDefaults.h"
#include "platform/linux/PortalColorScheme.h"
#include "platform/linux/QtScreens.h"
#include "platform/linux/SyslogSystemLog.h"
#include "platform/linux/SystemClock.h"
#include "platform/linux/X11StartupNotification.h"
#include "platform/linux/X11WindowIdentity.h"
#include "platform/linux/X11WindowLevels.h"
#include "platform/linux/XInputEventMonitor.h"
#include "platform/linux/XdgAutostartLoginItem.h"
#include "platform/linux/XdgFolderLaunchers.h"
#include "platform/linux/XdgUrlOpener.h"
#include "popup/PopupPanelController.h"
#include "settings/AppSettings.h"
#include "settings/Localization.h"
#include "tile/DockTileManager.h"
#include "ui/MainWindowView.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdlib>
#include <unistd.h>

namespace {

// Set by a launcher that announced this launch (startup notification); the desktop shows a busy
// pointer until the launched program ends it.
constexpr char kStartupIdVariable[] = "DESKTOP_STARTUP_ID";

// The bundle's icon at the sizes window lists and docks ask for, each as drawn for that size.
QIcon applicationIcon(const QString& bundlePath) {
    QIcon icon;
    for (const int side : {16, 32, 64, 128, 256}) {
        if (const std::optional<QImage> image = FileIcons::bundleIconFile(bundlePath, side))
            icon.addPixmap(QPixmap::fromImage(*image));
    }
    return icon;
}

QString bundleIdentifierOf(const Bundle& bundle) {
    const QString identifier = bundle.identifier();
    return identifier.isEmpty() ? QStringLiteral("app.trellin.Trellin") : identifier;
}

// Who this process is: its bundle, defaults and mode; all that a second launch needs before it
// hands over to the running instance.
struct Identity {
    explicit Identity(const QStringList& processArguments)
        : arguments(processArguments)
        , bundle(Bundle::enclosingExecutable(QCoreApplication::applicationFilePath()))
        , bundleIdentifier(bundleIdentifierOf(bundle))
        , defaults(PlistUserDefaults::standardPreferencesDirectory(), bundleIdentifier, arguments.mid(1))
        , runMode(bundle, defaults, arguments)
        , session(DesktopSession::detect(QProcessEnvironment::systemEnvironment())) {}

    // The single-instance name: the application's, or its helper's for one folder.
    QString instanceServiceName() const {
        const std::optional<QUuid> folderID = runMode.helperFolderID();
        return LinuxApplication::instanceServiceName(bundleIdentifier,
                                                     folderID ? FolderID::canonical(*folderID) : QString());
    }

    QStringList arguments;
    Bundle bundle;
    QString bundleIdentifier;
    PlistUserDefaults defaults;
    RunMode runMode;
    DesktopSession session;
};

// A launch of an instance that already runs, as a dock makes at every click on a folder's tile,
// hands over before the toolkit loads. Only a launch without "-group" qualifies: the main
// application's own launches of a helper (which replace one that is quitting, and check the
// bundle against the folder) and a launch that finds nothing running take the usual way, in
// which LinuxApplication deals with an owner that does not answer.
bool handedOverBeforeToolkit(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (RunMode::groupArgument == QLatin1String(argv[i]))
            return false;
    const Bundle bundle = Bundle::enclosingExecutable(QStringLiteral("/proc/self/exe"));
    if (!bundle.isValid())
        return false;
    // The same name that Identity::instanceServiceName gives, read without mirroring the folder
    // to the defaults: the running instance did that.
    const QVariant stamped = bundle.infoValue(Protocol::groupIDKey);
    const std::optional<QUuid> folder =
        stamped.typeId() == QMetaType::QString ? FolderID::parse(stamped.toString()) : std::nullopt;
    const QString name = LinuxApplication::instanceServiceName(bundleIdentifierOf(bundle),
                                                               folder ? FolderID::canonical(*folder) : QString());
    if (EarlyReopen::reopenRunningInstance(name) != EarlyReopen::Outcome::HandedOver)
        return false;
    X11StartupNotification::removeBeforeToolkit(qgetenv(kStartupIdVariable));
    return true;
}

// The dock the General page names, as stored.
QString dockSetting(const Identity& identity) {
    return identity.defaults.object(AppSettings::key(AppSettings::Field::DockHost)).toString();
}

// The Linux backend of the platform interfaces.
struct Backend {
    explicit Backend(const Identity& identity)
        : desktopEntries(ModuleDesktopEntries::modulePathIn(identity.bundle.path()))
        , desktopSettings(ModuleDesktopEntries::modulePathIn(identity.bundle.path()))
        , helperEndings(QDBusConnection::sessionBus(), identity.bundleIdentifier)
        , dockDomain(PlistUserDefaults::standardPreferencesDirectory(), DockFileFormat::domainName)
        , loginItem(XdgAutostartLoginItem::standardAutostartDirectory(), identity.bundleIdentifier,
                    QCoreApplication::applicationName(), identity.bundle.executablePath())
        , dockTile(identity.bundle.path())
        // Only the main application keeps folders in the Dock; a helper asks the dock only where
        // its tile is.
        , dock(identity.runMode.isHelperProcess()
                   ? DockHostSelection::Choice{}
                   : DockHostSelection::choose(dockSetting(identity), identity.bundle.path(),
                                               launchers.entriesDirectory()))
        , helperDock(identity.runMode.isHelperProcess() ? DockHostSelection::hostId(dockSetting(identity)) : QString(),
                     identity.bundle.path(), launchers.entriesDirectory())
        // Only the main application shows a menu-bar item.
        , systemTray(identity.runMode.isHelperProcess()
                         ? 0u
                         : unsigned(LinuxSystemTray::StatusNotifierHosts | LinuxSystemTray::XEmbedTrays)) {
        // What only the main application posts is taken from it alone: no other program on the bus
        // can make every process reload, redraw or show a badge, let alone flood them with it.
        distributedNotifications.takeOnlyFrom(
            LinuxApplication::instanceServiceName(identity.bundleIdentifier, QString()),
            {NotificationName::TRTileAppearanceChanged, NotificationName::TRPopupSettingsChanged,
             NotificationName::TRThemeChanged, NotificationName::TRFolderOffBadge,
             NotificationName::TRFolderDeleteBadge});
    }

    SystemClock clock;
    MainQueueScheduler scheduler;
    LocalNotificationCenter localNotifications;
    DBusDistributedNotifications distributedNotifications;
    SyslogSystemLog systemLog;
    ModuleDesktopEntries desktopEntries;
    // GIO is loaded only when the desktop's app folders are first read.
    ModuleDesktopSettings desktopSettings;
    GioDesktopAppFolders desktopAppFolders{desktopSettings};
    LinuxWorkspace workspace{QStringLiteral("/proc"), &desktopEntries};
    InotifyFileEvents fileEvents;
    DBusHelperEndings helperEndings;
    PlistPreferenceDomain dockDomain;
    XdgAutostartLoginItem loginItem;
    DBusDockTile dockTile;
    XdgFolderLaunchers launchers{XdgFolderLaunchers::standardEntriesDirectory(),
                                 LinuxPaths::applicationSupportDirectory() +
                                     QStringLiteral("/Trellin/LauncherPictures")};
    DockHostSelection::Choice dock;
    HelperDockHost helperDock;
    std::unique_ptr<GnomeShellExtension> shellExtension;
    QtScreens screens;
    XInputEventMonitor eventMonitor;
    X11WindowLevels windowLevels;
    LinuxSystemTray systemTray;
    XdgUrlOpener urlOpener{scheduler};
    PortalColorScheme desktopColorScheme;
};

// The user's dock, where one stands for the Dock, for placing the popup at its tile; none where
// the Linux Dock does, whose own preferences say how it stands.
bool placesByUsersDock(const Backend& backend) {
    return backend.dock.host || backend.helperDock.isUsersDock();
}
DockHost* placementHost(Backend& backend) {
    if (backend.dock.host)
        return backend.dock.host.get();
    return backend.helperDock.isUsersDock() ? &backend.helperDock.host() : nullptr;
}

// Trellin's extension for the dock in use, made when the General page first asks: only GNOME
// Shell has one.
DockExtension* dockExtension(Backend& backend, const Identity& identity) {
    if (!backend.dock.host || backend.dock.host->id() != DockHostIds::gnomeShell)
        return nullptr;
    if (!backend.shellExtension)
        backend.shellExtension = GnomeShellExtension::forBundle(identity.bundle.path());
    return backend.shellExtension.get();
}

// The shared objects of the process, in construction order: each is given only what stands
// above it, so the order of the members is the order of the dependencies.
struct SharedObjects {
    SharedObjects(Identity& identity, LinuxApplication& application, Backend& backend)
        : applicationSupport(LinuxPaths::applicationSupportDirectory())
        , launchLog(backend.clock)
        , hostTiles(hostDockTiles(backend))
        , helperManager({
              .clock = backend.clock,
              .scheduler = backend.scheduler,
              .workspace = backend.workspace,
              .distributedNotifications = backend.distributedNotifications,
              .localNotifications = backend.localNotifications,
              .systemLog = backend.systemLog,
              .dockDomain = backend.dockDomain,
              .mainBundle = identity.bundle,
              .launchLog = launchLog,
              .applicationSupportDirectory = applicationSupport,
              .dockPreferencesPath = DockFileFormat::standardPath(QDir::homePath()),
              .signingTool = identity.bundle.path() + QStringLiteral("/Contents/MacOS/trellin-codesign"),
              .hostTiles = hostTiles.get(),
          })
        , store(applicationSupport,
                {
                    .clock = backend.clock,
                    .scheduler = backend.scheduler,
                    .notifications = backend.localNotifications,
                    .helpers = helperManager,
                    .launchLog = launchLog,
                    .isHelperProcess = [&identity] { return identity.runMode.isHelperProcess(); },
                })
        , settings({
              .scheduler = backend.scheduler,
              .defaults = identity.defaults,
              .notifications = backend.localNotifications,
              .distributedNotifications = backend.distributedNotifications,
              .loginItem = backend.loginItem,
              .bundleIdentifier = identity.bundle.identifier(),
              .homeDirectory = QDir::homePath(),
              .foldersFilePath = store.saveURL(),
              .desktopColorScheme = &backend.desktopColorScheme,
          })
        , localization(identity.bundle.resourcesPath(), [this] { return settings.language(); })
        , tileManager({
              .scheduler = backend.scheduler,
              .store = store,
              .settings = settings,
              .dockTile = backend.dockTile,
              .currentFolderID = [&identity] { return identity.runMode.helperFolderID(); },
              .resources = TileDrawingContext::platformResources(),
              .setCustomIcon = &FileIcons::setCustomIcon,
              .bundlePath = identity.bundle.path(),
          })
        , icons({}, LinuxPaths::cacheDirectory() + QStringLiteral("/Trellin/Icons"))
        , popup({
              .clock = backend.clock,
              .scheduler = backend.scheduler,
              .distributedNotifications = backend.distributedNotifications,
              .screens = backend.screens,
              .eventMonitor = backend.eventMonitor,
              .windowLevels = backend.windowLevels,
              .dockHeight = dockHeight,
              .dockSizes =
                  [this] {
                      const DockPreferences& dock = helperManager.dockPreferences();
                      return PopupPlacement::DockSizes{dock.dockTileSize(), dock.dockLargeSize(),
                                                       dock.isDockMagnificationEnabled()};
                  },
              .currentGroupID = [&identity] { return identity.runMode.currentGroupID(); },
              .environment = {.settings = settings,
                              .localization = localization,
                              .workspace = backend.workspace,
                              .scheduler = backend.scheduler,
                              .icons = icons,
                              .translucentWindows = backend.screens.showsTranslucentWindows()},
              .hostGeometry = placesByUsersDock(backend)
                                  ? std::function([&backend] { return placementHost(backend)->geometry(); })
                                  : nullptr,
              .tilePosition = placesByUsersDock(backend) ? std::function([&backend, &identity] {
                  const std::optional<QUuid> folder = identity.runMode.helperFolderID();
                  return folder ? placementHost(backend)->tilePosition(FolderLaunchers::entryId(*folder))
                                : std::nullopt;
              })
                                                         : nullptr,
              .pointerFollowsDockClicks = identity.session.pointerFollowsDockClicks(),
              .outsideClicksHeard = identity.session.outsideClicksHeard(),
          })
        , updateDialog(localization, settings, backend.urlOpener, backend.screens.showsTranslucentWindows())
        , updater({
              .defaults = identity.defaults,
              .mainBundle = identity.bundle,
              .scheduler = backend.scheduler,
              .presenter = updateDialog,
          })
        , discovery({
              .bundleDirectories = AppDiscovery::standardDirectories(QDir::homePath()),
              .desktopEntries = &backend.desktopEntries,
              .language = [this] { return localization.languageCode(); },
          })
        , exchange({
              .store = store,
              .clock = backend.clock,
              .desktopEntries = backend.desktopEntries,
              .desktopAppFolders = &backend.desktopAppFolders,
              .bundleDirectories = AppDiscovery::standardDirectories(QDir::homePath()),
              .language = [this] { return localization.languageCode(); },
          })
        , mainWindowEnvironment{.store = store,
                                .settings = settings,
                                .localization = localization,
                                .scheduler = backend.scheduler,
                                .clock = backend.clock,
                                .distributedNotifications = backend.distributedNotifications,
                                .icons = icons,
                                .discovery = discovery,
                                .exchange = exchange,
                                .workspace = backend.workspace,
                                .updater = updater,
                                .systemTray = backend.systemTray,
                                .appIcon =
                                    identity.runMode.isHelperProcess()
                                        ? QImage()
                                        : FileIcons::bundleIconFile(identity.bundle.path(), 256).value_or(QImage()),
                                .activeDockName =
                                    [&backend] {
                                        return backend.dock.host ? backend.dock.host->displayName()
                                                                 : DockHostIds::displayName(DockHostIds::trellinDock);
                                    },
                                .dockExtension = [&backend, &identity] { return dockExtension(backend, identity); }}
        , mainWindow({
              .application = application,
              .settings = settings,
              .scheduler = backend.scheduler,
              .notifications = backend.localNotifications,
              .navigation = navigation,
              .systemTray = backend.systemTray,
          })
        , scene({
              .environment = mainWindowEnvironment,
              .navigation = navigation,
              .notifications = backend.localNotifications,
              .controller = mainWindow,
              .translucentWindows = backend.screens.showsTranslucentWindows(),
          })
        , menuBar({
              .settings = settings,
              .localization = localization,
              .scheduler = backend.scheduler,
              .mainWindow = mainWindow,
              .openWindowAction = scene.openWindowAction(),
              .quit = [&application] { application.terminate(); },
              .isHelperProcess = identity.runMode.isHelperProcess(),
              .systemTray = backend.systemTray,
          })
        , dockMonitor({
              .clock = backend.clock,
              .scheduler = backend.scheduler,
              .fileEvents = backend.fileEvents,
              .helperEndings = backend.helperEndings,
              .store = store,
              .helpers = helperManager,
              .launchLog = launchLog,
              .dockHeight = dockHeight,
              .isFromDock =
                  [&notifications = backend.distributedNotifications](const Notification& notification) {
                      // A host adapter for the user's dock posts from this process.
                      return notifications.isOwnPost(notification) ||
                             notifications.isPostedByOwnerOf(Protocol::Bus::dockService, notification);
                  },
              .host = backend.dock.host.get(),
          })
        , delegate({
              .clock = backend.clock,
              .scheduler = backend.scheduler,
              .defaults = identity.defaults,
              .localNotifications = backend.localNotifications,
              .distributedNotifications = backend.distributedNotifications,
              .application = application,
              .runMode = identity.runMode,
              .store = store,
              .settings = settings,
              .helpers = helperManager,
              .helperState = helperManager.state(),
              .dockPreferences = helperManager.dockPreferences(),
              .dockHeight = dockHeight,
              .tile = tileManager,
              .popup = popup,
              .dockMonitor = dockMonitor,
              .mainWindow = mainWindow,
              .updater = updater,
              .systemTray = backend.systemTray,
          }) {}

    // The folders' launchers in the user's own dock, when one stands for the Dock.
    std::unique_ptr<HostDockTiles> hostDockTiles(Backend& backend) {
        if (!backend.dock.host)
            return nullptr;
        return std::make_unique<HostDockTiles>(HostDockTiles::Services{
            .host = *backend.dock.host,
            .launchers = backend.launchers,
            .scheduler = backend.scheduler,
            .notifications = backend.localNotifications,
            .helperBundlePath = [this](const QUuid& id) { return helperManager.builder().helperBundleURL(id); },
            .picture =
                [this](const AppFolder& folder) {
                    return tileManager.folderTileImage(folder)(DockTileManager::kIconPixels);
                },
            .folders = [this] { return store.folders(); },
        });
    }

    QString applicationSupport;
    HelperLaunchLog launchLog;
    DockHeight dockHeight;
    std::unique_ptr<HostDockTiles> hostTiles;
    HelperManager helperManager;
    FolderStore store;
    AppSettings settings;
    Localization localization;
    DockTileManager tileManager;
    FileIconCache icons;
    PopupPanelController popup;
    UpdateDialogPresenter updateDialog;
    AppcastUpdater updater;
    MainWindowNavigation navigation;
    AppDiscovery discovery;
    FolderExchange exchange;
    MainWindowEnvironment mainWindowEnvironment;
    MainWindowController mainWindow;
    MainScene scene;
    MenuBarExtra menuBar;
    DockStateReconciler dockMonitor;
    AppDelegate delegate;
};

// Says which dock stands for the Dock, follows the setting to another, and makes sure
// the desktop knows the main application's own launcher, so its windows are not a stranger's.
void announceDock(const Identity& identity, Backend& backend, SharedObjects& objects, std::function<void()> restart) {
    Console::printLine(backend.dock.line + QStringLiteral(", in ") + identity.session.description());
    auto dockSwitch = std::make_shared<DockHostSwitch>(DockHostSwitch::Services{
        .helpers = objects.helperManager,
        .store = objects.store,
        .currentId = backend.dock.host ? backend.dock.host->id() : DockHostIds::trellinDock,
        .chosenId = [&objects] { return DockHostSelection::hostId(rawValue(objects.settings.dockHost())); },
        .restart = std::move(restart),
    });
    backend.localNotifications.addObserver(NotificationName::dockHostChanged,
                                           [dockSwitch](const Notification&) { dockSwitch->settingChanged(); });
    FolderLaunchers::Launcher main;
    main.name = QCoreApplication::applicationName();
    main.command = {identity.bundle.executablePath()};
    main.windowClass = FolderLaunchers::mainWindowClass();
    main.icon = FileIcons::bundleIconFile(identity.bundle.path(), 256).value_or(QImage());
    if (const std::optional<QString> failure = backend.launchers.ensureMainEntry(main))
        Console::printLine(QStringLiteral("[DockHost] Could not write Trellin's launcher: ") + *failure);
}

// The folders on the session bus for trellinctl, once the store has read them: only the main
// application takes folder commands, and never on a list it has not loaded.
std::unique_ptr<FolderCommandCenter> exportFolderCommands(const Identity& identity, LinuxApplication& application,
                                                          Backend& backend, SharedObjects& objects) {
    auto commands = std::make_unique<FolderCommandCenter>(FolderCommandCenter::Services{
        .store = objects.store,
        .clock = backend.clock,
        .workspace = backend.workspace,
        .distributedNotifications = backend.distributedNotifications,
        .exchange = objects.exchange,
        .showPopup =
            [bundleIdentifier = identity.bundleIdentifier](const QUuid& folder, FolderCommands::Done done) {
                LinuxApplication::requestPopup(
                    QDBusConnection::sessionBus(),
                    LinuxApplication::instanceServiceName(bundleIdentifier, FolderID::canonical(folder)),
                    [done = std::move(done)](const std::optional<QString>& error) {
                        done(error ? FolderCommands::Outcome::refused(FolderCommands::Failure::Failed, *error)
                                   : FolderCommands::Outcome::success());
                    });
            },
        .helperRemovalDelay = MainWindowView::deletedFolderRemovalDelay,
    });
    new DBusFolderCommands(application, QDBusConnection::sessionBus(), *commands);
    return commands;
}

// The platform's application events, delivered to the delegate.
void connectApplicationEvents(QApplication& qtApplication, LinuxApplication& application, AppDelegate& delegate) {
    QObject::connect(&application, &LinuxApplication::reopenRequested, &delegate, [&delegate] {
        const QWidgetList windows = QApplication::topLevelWidgets();
        delegate.applicationShouldHandleReopen(
            std::any_of(windows.begin(), windows.end(), [](const QWidget* window) { return window->isVisible(); }));
    });
    QObject::connect(&application, &LinuxApplication::popupRequested, &delegate,
                     [&delegate] { delegate.applicationShouldShowPopup(); });
    QObject::connect(&qtApplication, &QGuiApplication::applicationStateChanged, &delegate,
                     [&delegate](Qt::ApplicationState state) {
                         if (state == Qt::ApplicationActive)
                             delegate.applicationDidBecomeActive();
                     });
    QObject::connect(&qtApplication, &QCoreApplication::aboutToQuit, &delegate,
                     [&delegate] { delegate.applicationWillTerminate(); });
}

} // namespace

namespace {

// One life of the application; `restart` says whether it ended to start again.
int runOnce(int argc, char** argv, bool& restart) {
    if (handedOverBeforeToolkit(argc, argv))
        return 0;
    // The toolkit takes the variable out of the environment as it starts.
    const QByteArray startupId = qgetenv(kStartupIdVariable);
    // In a Wayland session the windows go through Xwayland, where a popup may place itself; only
    // for this process, so that the applications it launches get the session's own choice.
    const QByteArray platform = DesktopSession::forcedPlatform(QProcessEnvironment::systemEnvironment());
    const std::optional<QByteArray> sessionPlatform =
        qEnvironmentVariableIsSet("QT_QPA_PLATFORM") ? std::optional(qgetenv("QT_QPA_PLATFORM")) : std::nullopt;
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
    QApplication qtApplication(argc, argv);
    if (!platform.isEmpty()) {
        if (sessionPlatform)
            qputenv("QT_QPA_PLATFORM", *sessionPlatform);
        else
            qunsetenv("QT_QPA_PLATFORM");
    }
    // Closing the main window never quits the application.
    QApplication::setQuitOnLastWindowClosed(false);

    Identity identity(QCoreApplication::arguments());
    // A helper whose bundle does not name its folder would run as a second main application.
    if (identity.runMode.groupArgumentContradictsBundle()) {
        Console::printLine(QStringLiteral("[Trellin] Not started: launched as a folder's helper from %1, which is "
                                          "not that folder's helper bundle")
                               .arg(identity.bundle.path()));
        return 1;
    }
    QCoreApplication::setApplicationName(identity.bundle.infoValue(QStringLiteral("CFBundleName")).toString());
    QCoreApplication::setApplicationVersion(
        identity.bundle.infoValue(QStringLiteral("CFBundleShortVersionString")).toString());

    // One process per bundle: a second launch reopens the running one. A helper started by
    // the main application replaces any helper of its folder that is still quitting.
    LinuxApplication application;
    if (application.claimInstance(identity.instanceServiceName(), identity.runMode.startedWithGroupArgument()) ==
        InstanceClaim::HandedOver) {
        // This process shows no window that would end the launch.
        X11StartupNotification::remove(startupId);
        return 0;
    }
    application.installTerminationSignalHandlers();
    // Docks match windows to launchers by class: a helper's to its folder's, the main
    // application's to its own.
    const std::optional<QUuid> helperFolder = identity.runMode.helperFolderID();
    const QString windowClass =
        helperFolder ? FolderLaunchers::windowClass(*helperFolder) : FolderLaunchers::mainWindowClass();
    const X11WindowIdentity windowIdentity(windowClass, helperFolder.has_value());
    // The same text is the application id of the windows in a Wayland session: the entry's name.
    QGuiApplication::setDesktopFileName(windowClass);

    Backend backend(identity);
    FileIcons::setDesktopEntries(&backend.desktopEntries);
    // The main application's windows carry its mark; a helper's popup is no window of a list.
    if (!identity.runMode.isHelperProcess())
        QApplication::setWindowIcon(applicationIcon(identity.bundle.path()));
    Symbols::useOutlineFile(identity.bundle.resourcesPath() + QStringLiteral("/Symbols.outlines"));
    SharedObjects objects(identity, application, backend);
    connectApplicationEvents(qtApplication, application, objects.delegate);

    std::unique_ptr<FolderCommandCenter> folderCommands;
    objects.delegate.applicationWillFinishLaunching();
    // Finishing launch runs from the event loop, as the platform's own launch does.
    QTimer::singleShot(0, &objects.delegate, [&objects, &application, &backend, &identity, &restart, &folderCommands] {
        objects.delegate.applicationDidFinishLaunching();
        // The main application's window scene shows its window at launch; a helper shows none.
        if (!identity.runMode.isHelperProcess()) {
            objects.scene.launch(!identity.defaults.boolForKey(LinuxApplication::launchWithoutWindowKey));
            folderCommands = exportFolderCommands(identity, application, backend, objects);
            announceDock(identity, backend, objects, [&application, &restart] {
                restart = true;
                application.terminate();
            });
        }
        // The Dock shows the application once its presentation mode is settled, and follows it.
        const auto showInDock = [&application, &backend] {
            backend.dockTile.setShownInDock(application.activationPolicy() == ActivationPolicy::Regular);
        };
        QObject::connect(&application, &LinuxApplication::activationPolicyChanged, &backend.dockTile, showInDock);
        showInDock();
    });
    return QApplication::exec();
}

} // namespace

int TrellinApp::run(int argc, char** argv) {
    bool restart = false;
    const int status = runOnce(argc, argv, restart);
    // Everything of the first life is gone (its settings written, its bus name and windows
    // closed): the program starts again as it was started.
    if (restart)
        ::execv("/proc/self/exe", argv);
    return status;
}
