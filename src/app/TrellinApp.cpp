#include "TrellinApp.h"

#include "AppDelegate.h"
#include "AppSettingsRuntime.h"
#include "DockTilePresenter.h"
#include "HelperManagerRuntime.h"
#include "PendingSubsystems.h"
#include "helpers/HelperManager.h"
#include "helpers/RunMode.h"
#include "model/FolderID.h"
#include "model/FolderStore.h"
#include "platform/Bundle.h"
#include "platform/FileIcons.h"
#include "platform/LocalNotificationCenter.h"
#include "platform/linux/DBusDistributedNotifications.h"
#include "platform/linux/DBusDockTile.h"
#include "platform/linux/LinuxApplication.h"
#include "platform/linux/LinuxPaths.h"
#include "platform/linux/LinuxWorkspace.h"
#include "platform/linux/MainQueueScheduler.h"
#include "platform/linux/PlistPreferenceDomain.h"
#include "platform/linux/PlistUserDefaults.h"
#include "platform/linux/SyslogSystemLog.h"
#include "platform/linux/SystemClock.h"
#include "platform/linux/XdgAutostartLoginItem.h"
#include "settings/AppSettings.h"
#include "settings/Localization.h"

#include <QApplication>
#include <QDir>
#include <QTimer>
#include <QWidget>

#include <algorithm>

namespace {
const QString kFallbackBundleIdentifier = QStringLiteral("app.trellin.Trellin");
}

int TrellinApp::run(int argc, char** argv) {
    QApplication qtApplication(argc, argv);
    // Closing the main window never quits the application.
    QApplication::setQuitOnLastWindowClosed(false);

    const QStringList arguments = QCoreApplication::arguments();
    const Bundle mainBundle = Bundle::enclosingExecutable(QCoreApplication::applicationFilePath());
    QString bundleIdentifier = mainBundle.identifier();
    if (bundleIdentifier.isEmpty())
        bundleIdentifier = kFallbackBundleIdentifier;
    QCoreApplication::setApplicationName(mainBundle.infoValue(QStringLiteral("CFBundleName")).toString());
    QCoreApplication::setApplicationVersion(
        mainBundle.infoValue(QStringLiteral("CFBundleShortVersionString")).toString());

    PlistUserDefaults defaults(PlistUserDefaults::standardPreferencesDirectory(), bundleIdentifier, arguments.mid(1));
    RunMode runMode(mainBundle, defaults);

    // One process per bundle: a second launch reopens the running one. A helper started by
    // the main application (with "-group") replaces any helper of its folder still quitting.
    LinuxApplication application;
    const std::optional<QUuid> helperFolderID = runMode.helperFolderID();
    const QString serviceName = LinuxApplication::instanceServiceName(
        bundleIdentifier, helperFolderID ? FolderID::canonical(*helperFolderID) : QString());
    const bool startedByMainApplication = arguments.contains(QStringLiteral("-group"));
    if (application.claimInstance(serviceName, startedByMainApplication) == InstanceClaim::HandedOver)
        return 0;
    application.installTerminationSignalHandlers();

    SystemClock clock;
    MainQueueScheduler scheduler;
    LocalNotificationCenter localNotifications;
    DBusDistributedNotifications distributedNotifications;
    PendingSubsystems pending;
    SyslogSystemLog systemLog;
    LinuxWorkspace workspace;
    const QString applicationSupport = LinuxPaths::applicationSupportDirectory();
    const QString preferences = PlistUserDefaults::standardPreferencesDirectory();
    PlistPreferenceDomain dockDomain(preferences, DockPreferences::domainName);

    AppDelegate* delegatePointer = nullptr;
    const auto launchStamps = [&delegatePointer]() -> HelperLaunchStamps* { return delegatePointer; };
    HelperManager helperManager({clock, scheduler, workspace, distributedNotifications, localNotifications, systemLog,
                                 dockDomain, mainBundle, launchStamps, applicationSupport,
                                 DockPreferences::standardDockPreferencesPath(QDir::homePath()),
                                 mainBundle.path() + QStringLiteral("/Contents/MacOS/trellin-codesign")});
    HelperManagerRuntime helperRuntime(helperManager);
    XdgAutostartLoginItem loginItem(XdgAutostartLoginItem::standardAutostartDirectory(), bundleIdentifier,
                                    QCoreApplication::applicationName(), mainBundle.executablePath());

    FolderStore store(applicationSupport, {clock, scheduler, localNotifications, helperManager,
                                           [&runMode] { return runMode.isHelperProcess(); }, launchStamps});
    FolderStore::setShared(&store);

    AppSettings appSettings({defaults, localNotifications, distributedNotifications, loginItem, mainBundle.identifier(),
                             QDir::homePath(), store.saveURL()});
    AppSettings::setShared(&appSettings);
    AppSettingsRuntime settings(appSettings);
    Localization localization(mainBundle.resourcesPath(), [&appSettings] { return appSettings.language(); });
    Localization::setShared(&localization);

    DBusDockTile dockTile(mainBundle.path());
    DockTileManager tileManager(
        {scheduler, store, appSettings, dockTile, [&runMode] { return runMode.helperFolderID(); },
         TileDrawingContext::platformResources(), &FileIcons::setCustomIcon, mainBundle.path()});
    DockTileManager::setShared(&tileManager);
    DockTilePresenter tilePresenter(tileManager);

    AppDelegate delegate({clock, defaults, localNotifications, distributedNotifications, application, runMode, store,
                          helperManager.state(), helperRuntime, settings, tilePresenter, pending, pending, pending,
                          pending, arguments});
    delegatePointer = &delegate;

    QObject::connect(&application, &LinuxApplication::reopenRequested, &delegate, [&delegate] {
        const QWidgetList windows = QApplication::topLevelWidgets();
        delegate.applicationShouldHandleReopen(
            std::any_of(windows.begin(), windows.end(), [](const QWidget* window) { return window->isVisible(); }));
    });
    QObject::connect(&qtApplication, &QGuiApplication::applicationStateChanged, &delegate,
                     [&delegate](Qt::ApplicationState state) {
                         if (state == Qt::ApplicationActive)
                             delegate.applicationDidBecomeActive();
                     });
    QObject::connect(&qtApplication, &QCoreApplication::aboutToQuit, &delegate,
                     [&delegate] { delegate.applicationWillTerminate(); });

    delegate.applicationWillFinishLaunching();
    // Finishing launch runs from the event loop, as the platform's own launch does.
    QTimer::singleShot(0, &delegate, [&delegate] { delegate.applicationDidFinishLaunching(); });
    return QApplication::exec();
}
