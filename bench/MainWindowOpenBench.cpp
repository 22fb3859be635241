// The main window with 200 folders, to its first painted frame: made and shown at launch, then
// shown again on a reopen after it was closed (first and second time); and building the folder
// list of 200 folders on its own. Prints milliseconds.
#include "BenchHome.h"
#include "app/MainScene.h"
#include "app/MainWindowController.h"
#include "discovery/AppDiscovery.h"
#include "discovery/FolderExchange.h"
#include "model/FolderStore.h"
#include "model/HelperLaunchLog.h"
#include "model/HelperTileActions.h"
#include "platform/FileIconCache.h"
#include "platform/FileIcons.h"
#include "platform/LocalNotificationCenter.h"
#include "platform/Updater.h"
#include "platform/linux/DBusDistributedNotifications.h"
#include "platform/linux/LinuxApplication.h"
#include "platform/linux/LinuxSystemTray.h"
#include "platform/linux/LinuxWorkspace.h"
#include "platform/linux/MainQueueScheduler.h"
#include "platform/linux/ModuleDesktopEntries.h"
#include "platform/linux/QtScreens.h"
#include "platform/linux/SystemClock.h"
#include "settings/AppSettings.h"
#include "settings/Localization.h"
#include "ui/FoldersListView.h"
#include "ui/MainWindowView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

// The window's pages never check for updates while they are measured.
class NoUpdates final : public Updater {
public:
    void start() override {}
    void checkForUpdates() override {}
};

constexpr int kFolders = 200;
constexpr int kListRuns = 5;

// The bench starts no helper processes.
class NoHelpers final : public HelperTileActions {
public:
    void recreateAndLaunchHelper(const AppFolder&) override {}
    void removeHelper(const QUuid&, bool) override {}
    void scheduleDockRemoval(const AppFolder&, double) override {}
    void cancelDockRemoval(const QUuid&) override {}
    void syncHelpers(const QList<AppFolder>&) override {}
    void putFolderInDock(const AppFolder&) override {}
    void rebuildHelper(const AppFolder&) override {}
    void removeFolderFromDock(const AppFolder&) override {}
};

QList<AppFolder> folders(const QString& appPath) {
    QList<AppFolder> list;
    for (int i = 0; i < kFolders; ++i) {
        AppFolder folder(QUuid::createUuid(), QStringLiteral("Folder %1").arg(i), QStringLiteral("folder"), 0);
        for (int a = 0; a < 4; ++a)
            folder.apps.append({QUuid::createUuid(), QStringLiteral("App %1").arg(a), QStringLiteral("bench.App"),
                                AppItem::fileURLForPath(appPath, true)});
        list.append(folder);
    }
    return list;
}

// Runs the event loop until `done` or five seconds.
template <typename Done> void spinUntil(Done done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// Counts paints anywhere in the application.
class PaintWatch final : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    BenchHome bench;
    QApplication qtApplication(argc, argv);
    bench.start();
    QTemporaryDir& home = bench.home;
    LocalNotificationCenter& local = bench.local;
    DBusDistributedNotifications& distributed = *bench.distributed;
    AppSettings& settings = *bench.settings;
    Localization& localization = *bench.localization;
    SystemClock clock;
    MainQueueScheduler scheduler;
    NoHelpers helpers;
    HelperLaunchLog launchLog(clock);
    FolderStore store(home.path(), {.clock = clock,
                                    .scheduler = scheduler,
                                    .notifications = local,
                                    .helpers = helpers,
                                    .launchLog = launchLog,
                                    .isHelperProcess = [] { return false; }});
    store.setFolders(folders(QStringLiteral(TRELLIN_BUNDLE_DIR)));
    FileIconCache icons;
    QtScreens screens;
    const AppDiscovery discovery({});
    const ModuleDesktopEntries desktopEntries(ModuleDesktopEntries::modulePathIn(QStringLiteral(TRELLIN_BUNDLE_DIR)));
    LinuxWorkspace workspace(QStringLiteral("/proc"), &desktopEntries);
    FolderExchange exchange({.store = store, .clock = clock, .desktopEntries = desktopEntries});
    NoUpdates updater;
    LinuxSystemTray tray(0);
    const MainWindowEnvironment environment{
        .store = store,
        .settings = settings,
        .localization = localization,
        .scheduler = scheduler,
        .clock = clock,
        .distributedNotifications = distributed,
        .icons = icons,
        .discovery = discovery,
        .exchange = exchange,
        .workspace = workspace,
        .updater = updater,
        .systemTray = tray,
        .appIcon = FileIcons::bundleIconFile(QStringLiteral(TRELLIN_BUNDLE_DIR), 256).value_or(QImage())};

    QList<double> listTimes;
    for (int run = 0; run < kListRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        FoldersListView list(environment, [] {});
        list.resize(560, 480);
        list.show();
        QCoreApplication::processEvents();
        listTimes.append(timer.nsecsElapsed() / 1e6);
    }
    std::sort(listTimes.begin(), listTimes.end());

    LinuxApplication application;
    MainWindowNavigation navigation;
    MainWindowController controller({.application = application,
                                     .settings = settings,
                                     .scheduler = scheduler,
                                     .notifications = local,
                                     .navigation = navigation,
                                     .systemTray = tray});
    MainScene scene({.environment = environment,
                     .navigation = navigation,
                     .notifications = local,
                     .controller = controller,
                     .translucentWindows = screens.showsTranslucentWindows()});
    // At launch the scene makes and shows the window; a reopen later shows the hidden window again.
    PaintWatch watch;
    qtApplication.installEventFilter(&watch);
    const auto timeToFirstFrame = [&watch](auto request) {
        const int before = watch.paints;
        QElapsedTimer timer;
        timer.start();
        request();
        spinUntil([&] { return watch.paints > before; });
        return timer.nsecsElapsed() / 1e6;
    };
    const auto closeWindow = [&scene] {
        scene.window()->close();
        QElapsedTimer pause;
        pause.start();
        while (pause.elapsed() < 100)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    };
    // A bare toolkit window of the same size, for scale.
    QWidget bare;
    bare.resize(560, 550);
    const double bareShown = timeToFirstFrame([&bare] { bare.show(); });
    bare.hide();
    const double launch = timeToFirstFrame([&scene] { scene.launch(); });
    QList<double> reopens;
    for (int run = 0; run < 2; ++run) {
        closeWindow();
        reopens.append(timeToFirstFrame([&controller] { controller.showMainWindow(NavigationPage::AllFolders); }));
    }
    std::printf("main window, %d folders (%s): made and shown at launch %.1f ms; shown on a reopen: first %.1f ms, "
                "second %.1f ms\n",
                kFolders, qPrintable(QGuiApplication::platformName()), launch, reopens.value(0), reopens.value(1));
    std::printf("bare toolkit window of the same size shown: %.1f ms\n", bareShown);
    std::printf("folder list of %d folders built and shown: median %.1f ms\n", kFolders,
                listTimes.at(listTimes.size() / 2));
    // For the table of scripts/run-benchmarks.
    std::printf("figure main_window_launch_ms %.1f\nfigure main_window_reopen_ms %.1f\nfigure bare_window_ms %.1f\n",
                launch, reopens.value(0), bareShown);
    return 0;
}
