// Start-up in either mode, reopen, the helper's badges and its termination.
#include "app/AppDelegate.h"
#include "FakeSystemTray.h"
#include "helpers/DockPreferences.h"
#include "helpers/HelperState.h"
#include "helpers/RunMode.h"
#include "model/DockHeight.h"
#include "model/FolderID.h"
#include "model/FolderStore.h"
#include "model/HelperLaunchLog.h"
#include "platform/Bundle.h"
#include "platform/linux/PlistPreferenceDomain.h"
#include "settings/AppSettings.h"

#include "RecordingRuntime.h"
#include "TestFiles.h"
#include "TestHome.h"
#include "TestSettings.h"
#include "VirtualClock.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>

namespace {
const QString kFolderID = QStringLiteral("6F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C");
const QString kOtherID = QStringLiteral("1F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C");
const double kNow = 1'800'000'000.0;
} // namespace

class AppDelegateTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void languageIsForcedBeforeLaunchFinishes();
    void mainApplicationStartUp();
    void unreadableFoldersFileLeavesHelpersAlone();
    void mainApplicationPresentationFollowsMenuBarSetting();
    void mainApplicationLeavesTheDockOnlyForATray();
    void helperStartedByMainApplicationShowsOn();
    void helperStartedWithGroupArgumentStaysQuiet();
    void helperStartedFromDockOpensPopupAndSwallowsFirstReopen();
    void helperWhoseFolderIsGoneRunsAsMainApplication();
    void badgesReachOnlyTheirHelper();
    void refreshHandlers();
    void burstsOfNotificationsReloadOncePerInterval();
    void reloadsThatChangeNothingWriteNothing();
    void terminationConsumesPreserveMarkerInHelper();

private:
    // Lays out a bundle (a helper when `groupID` is given) and the objects of one process started
    // with these arguments.
    void makeProcess(const QString& groupID, const QStringList& arguments = {"Trellin"});
    QString markerPath(const QString& suffix) const {
        return m_helperState->markerPath(*FolderID::parse(kFolderID), suffix);
    }

    std::unique_ptr<TestHome> m_home;
    VirtualClock m_clock{kNow};
    std::unique_ptr<Bundle> m_bundle;
    std::unique_ptr<RunMode> m_runMode;
    std::unique_ptr<RecordingRuntime> m_runtime;
    std::unique_ptr<HelperState> m_helperState;
    std::unique_ptr<HelperLaunchLog> m_launchLog;
    std::unique_ptr<PlistPreferenceDomain> m_dockDomain;
    std::unique_ptr<DockPreferences> m_dock;
    std::unique_ptr<FolderStore> m_store;
    std::unique_ptr<AppSettings> m_settings;
    DockHeight m_dockHeight;
    FakeSystemTray m_tray;
    std::unique_ptr<AppDelegate> m_delegate;
};

void AppDelegateTest::init() {
    m_home = std::make_unique<TestHome>();
    m_clock = VirtualClock(kNow);
    QVERIFY(writeFile(m_home->foldersFile(), R"([{"id":")" + kFolderID.toLatin1() +
                                                 R"(","name":"Work","isInDock":true},)"
                                                 R"({"id":")" +
                                                 kOtherID.toLatin1() + R"(","name":"Play"}])"));
}

void AppDelegateTest::cleanup() {
    m_delegate.reset();
    m_settings.reset();
    m_store.reset();
    m_home.reset();
}

void AppDelegateTest::makeProcess(const QString& groupID, const QStringList& arguments) {
    m_delegate.reset();
    m_settings.reset();
    m_store.reset();
    m_dockHeight = DockHeight();
    QVariantMap info{{"CFBundleIdentifier", "app.trellin.Trellin"}, {"CFBundleExecutable", "Trellin"}};
    if (!groupID.isEmpty())
        info.insert("TRGroupUUID", groupID);
    m_bundle = std::make_unique<Bundle>(m_home->makeBundle("Trellin.app", info));
    m_home->relaunch(arguments.mid(1));
    m_runMode = std::make_unique<RunMode>(*m_bundle, *m_home->defaults, arguments);
    m_runtime = std::make_unique<RecordingRuntime>();
    m_helperState = std::make_unique<HelperState>(m_home->applicationSupport());
    QDir().mkpath(m_helperState->helperStateDir());
    m_launchLog = std::make_unique<HelperLaunchLog>(m_clock);
    m_dockDomain = std::make_unique<PlistPreferenceDomain>(m_home->path("Library/Preferences"), "com.apple.dock");
    m_dock = std::make_unique<DockPreferences>(*m_dockDomain, m_home->distributedNotifications,
                                               m_dockDomain->filePath(), m_home->path("share/Trellin/Helpers"),
                                               m_helperState->helperStateDir(), DockPreferences::Helpers{});
    m_store = std::make_unique<FolderStore>(m_home->applicationSupport(),
                                            FolderStore::Services{
                                                .clock = m_clock,
                                                .scheduler = m_clock,
                                                .notifications = m_home->localNotifications,
                                                .helpers = *m_runtime,
                                                .launchLog = *m_launchLog,
                                                .isHelperProcess = [this] { return m_runMode->isHelperProcess(); },
                                            });
    m_settings = makeTestSettings(*m_home, m_clock);
    // Reloads enter the runtime's timeline, to check the order of start-up's steps.
    connect(m_settings.get(), &AppSettings::changed, this, [this](AppSettings::Field field) {
        if (field == AppSettings::Field::IsUpdating && m_settings->isUpdating())
            m_runtime->record("reloadFromDefaults");
    });
    m_delegate = std::make_unique<AppDelegate>(AppDelegate::Services{
        .clock = m_clock,
        .scheduler = m_clock,
        .defaults = *m_home->defaults,
        .localNotifications = m_home->localNotifications,
        .distributedNotifications = m_home->distributedNotifications,
        .application = *m_runtime,
        .runMode = *m_runMode,
        .store = *m_store,
        .settings = *m_settings,
        .helpers = *m_runtime,
        .helperState = *m_helperState,
        .dockPreferences = *m_dock,
        .dockHeight = m_dockHeight,
        .tile = *m_runtime,
        .popup = *m_runtime,
        .dockMonitor = *m_runtime,
        .mainWindow = *m_runtime,
        .updater = *m_runtime,
        .systemTray = m_tray,
    });
}

void AppDelegateTest::languageIsForcedBeforeLaunchFinishes() {
    makeProcess({});
    m_delegate->applicationWillFinishLaunching();
    QCOMPARE(m_home->defaults->object("AppleLanguages"), QVariant(QVariantList{"en"}));
    m_home->defaults->setObject("language", "uk");
    m_delegate->applicationWillFinishLaunching();
    QCOMPARE(m_home->defaults->object("AppleLanguages"), QVariant(QVariantList{"uk"}));
}

void AppDelegateTest::mainApplicationStartUp() {
    makeProcess({});
    m_home->defaults->setObject("group", kFolderID); // left by an earlier helper run
    QVERIFY(m_dockDomain->setValue("tilesize", 48));
    m_delegate->applicationDidFinishLaunching();

    QCOMPARE(m_runtime->calls, (QStringList{"startUpdater", "reloadFromDefaults", "syncHelpers 2",
                                            "startDockStateMonitoring", "activationPolicy regular"}));
    QVERIFY(m_delegate->didApplyInitialMainAppPresentation());
    QCOMPARE(m_dockHeight.cached(), 66.0);
    QVERIFY(!m_home->defaults->hasObject("group"));
    // The stored file was read and written back with its defaults filled in.
    QCOMPARE(m_store->folders().size(), 2);
    QVERIFY(readFile(m_home->foldersFile()).contains(R"("emoji":"folder.fill")"));

    // Process-local: a tile-style change reloads settings and folders; nothing is drawn here.
    m_runtime->clear();
    m_home->localNotifications.post("tileAppearanceChanged");
    QCOMPARE(m_runtime->calls, QStringList{"reloadFromDefaults"});
    m_runtime->clear();
    m_home->distributedNotifications.post("TRDockTilePinStateChanged", {}, {{"folderID", kFolderID}});
    QCOMPARE(m_runtime->calls, QStringList{"handleDockTilePinStateChanged " + kFolderID});
    // An empty folder's popup asks for the folder list.
    m_runtime->clear();
    m_home->distributedNotifications.post("TROpenFolderInMainWindow", kFolderID);
    QCOMPARE(m_runtime->calls, QStringList{"showMainWindow allFolders"});

    // A reopen shows the folder list, and never quits or asks for a window of the platform's.
    m_runtime->clear();
    QCOMPARE(m_delegate->applicationShouldHandleReopen(false), false);
    QCOMPARE(m_delegate->applicationShouldHandleReopen(true), false);
    QCOMPARE(m_runtime->calls, (QStringList{"showMainWindow allFolders", "showMainWindow allFolders"}));
    QVERIFY(!m_delegate->applicationShouldTerminateAfterLastWindowClosed());
}

void AppDelegateTest::unreadableFoldersFileLeavesHelpersAlone() {
    // A folders file that cannot be read says nothing of which folders are in the Dock: synchronising
    // an empty list would delete every helper bundle and leave the user's tiles pointing at nothing.
    const QByteArray damaged = R"([{"id":")" + kFolderID.toLatin1() + R"(","isInDock":true}])";
    QVERIFY(writeFile(m_home->foldersFile(), damaged));
    makeProcess({});
    m_delegate->applicationDidFinishLaunching();
    QCOMPARE(m_runtime->calls, (QStringList{"startUpdater", "reloadFromDefaults", "startDockStateMonitoring",
                                            "activationPolicy regular"}));
    QCOMPARE(m_home->console.lines.last(),
             "[AppDelegate] Helpers were left as they are: the folders file could not be read");
    QCOMPARE(readFile(m_home->foldersFile()), damaged);
}

void AppDelegateTest::mainApplicationPresentationFollowsMenuBarSetting() {
    makeProcess({});
    m_tray.setAvailable(true);
    m_home->defaults->setObject("showMenuBar", true);
    m_delegate->applicationDidFinishLaunching();
    QCOMPARE(m_runtime->policy, ActivationPolicy::Accessory);
    QCOMPARE(m_dockHeight.cached(), DockHeight::fallback);

    // Switching keeps an open main window in front.
    m_runtime->clear();
    m_runtime->key = 42;
    m_settings->setShowMenuBar(false);
    QCOMPARE(m_runtime->calls, (QStringList{"activationPolicy regular", "orderFrontIfVisible 42"}));

    m_runtime->clear();
    m_runtime->key = 0;
    m_settings->setShowMenuBar(true);
    QCOMPARE(m_runtime->calls, QStringList{"activationPolicy accessory"});
}

// Without a tray the menu-bar item cannot show, so the Dock icon stays whatever the setting says;
// a tray that comes or goes later moves the application, keeping an open window in front.
void AppDelegateTest::mainApplicationLeavesTheDockOnlyForATray() {
    makeProcess({});
    m_tray.setAvailable(false);
    m_home->defaults->setObject("showMenuBar", true);
    m_delegate->applicationDidFinishLaunching();
    QCOMPARE(m_runtime->policy, ActivationPolicy::Regular);

    m_runtime->clear();
    m_runtime->key = 42;
    m_tray.setAvailable(true);
    QCOMPARE(m_runtime->calls, (QStringList{"activationPolicy accessory", "orderFrontIfVisible 42"}));
    m_runtime->clear();
    m_tray.setAvailable(false);
    QCOMPARE(m_runtime->calls, (QStringList{"activationPolicy regular", "orderFrontIfVisible 42"}));

    // With the setting off, a tray changes nothing.
    m_settings->setShowMenuBar(false);
    m_runtime->clear();
    m_runtime->key = 0;
    m_tray.setAvailable(true);
    QCOMPARE(m_runtime->policy, ActivationPolicy::Regular);
    m_settings->setShowMenuBar(true);
    QCOMPARE(m_runtime->policy, ActivationPolicy::Accessory);
}

void AppDelegateTest::helperStartedByMainApplicationShowsOn() {
    makeProcess(kFolderID, {"Trellin", "-group", kFolderID});
    QVERIFY(writeFile(markerPath(".launch"), QByteArray::number(kNow - 59.5, 'f', 3) + "\n"));
    m_delegate->applicationDidFinishLaunching();

    QCOMPARE(m_runtime->calls, (QStringList{"reloadFromDefaults", "activationPolicy regular", "orderOutFirstWindow",
                                            "presentFolderTile " + kFolderID, "showBadge ON green 2"}));
    QVERIFY(!QFile::exists(markerPath(".launch")));
    QCOMPARE(m_home->defaults->stringForKey("group"), std::optional<QString>(kFolderID));
    QVERIFY(!m_delegate->shouldIgnoreNextHelperReopen());
}

void AppDelegateTest::helperStartedWithGroupArgumentStaysQuiet() {
    // A stale marker, then an unreadable one: neither counts, both are deleted.
    for (const QByteArray& marker : {QByteArray::number(kNow - 61, 'f', 3), QByteArray("soon")}) {
        makeProcess(kFolderID, {"Trellin", "-group", kFolderID});
        QVERIFY(writeFile(markerPath(".launch"), marker));
        m_delegate->applicationDidFinishLaunching();
        QCOMPARE(m_runtime->calls.filter("showBadge").size(), 0);
        QCOMPARE(m_runtime->calls.filter("presentPopup").size(), 0);
        QVERIFY(!QFile::exists(markerPath(".launch")));
    }
}

void AppDelegateTest::helperStartedFromDockOpensPopupAndSwallowsFirstReopen() {
    makeProcess(kFolderID);
    m_delegate->applicationDidFinishLaunching();
    QCOMPARE(m_runtime->calls.last(), "presentPopup " + kFolderID);
    // Opening the popup takes the pending launch popup's place at once.
    QVERIFY(!m_delegate->pendingInitialHelperPopupFolderID());
    QVERIFY(m_delegate->shouldIgnoreNextHelperReopen());
    QVERIFY(m_runtime->calls.filter("syncHelpers").isEmpty());

    // A launch popup closed before its reopen arrives leaves that reopen to toggle the popup.
    m_runtime->popupClosed();
    QVERIFY(!m_delegate->shouldIgnoreNextHelperReopen());
    makeProcess(kFolderID);
    m_delegate->applicationDidFinishLaunching();

    // The reopen of the same click arrives while the popup shows: swallowed.
    m_runtime->popupExists = m_runtime->popupVisible = true;
    m_runtime->clear();
    QVERIFY(!m_delegate->applicationShouldHandleReopen(true));
    QVERIFY(m_runtime->calls.isEmpty());
    QVERIFY(!m_delegate->shouldIgnoreNextHelperReopen());

    // The next click toggles the popup.
    QVERIFY(!m_delegate->applicationShouldHandleReopen(true));
    QCOMPARE(m_runtime->calls, QStringList{"presentPopup " + kFolderID});
    QVERIFY(m_delegate->hasHandledInitialReopen());
    QVERIFY(!m_delegate->pendingInitialHelperPopupFolderID());
}

void AppDelegateTest::helperWhoseFolderIsGoneRunsAsMainApplication() {
    const QString goneID = QStringLiteral("9F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C");
    makeProcess(goneID, {"Trellin", "-group", goneID});
    const QByteArray before = readFile(m_home->foldersFile());

    m_delegate->applicationDidFinishLaunching();
    // No updater in a helper bundle, but the main application's other steps.
    QCOMPARE(m_runtime->calls, (QStringList{"reloadFromDefaults", "syncHelpers 2", "startDockStateMonitoring",
                                            "activationPolicy regular"}));
    QCOMPARE(readFile(m_home->foldersFile()), before);

    m_runtime->clear();
    m_delegate->applicationShouldHandleReopen(false);
    QCOMPARE(m_runtime->calls, QStringList{"showMainWindow allFolders"});
}

void AppDelegateTest::badgesReachOnlyTheirHelper() {
    makeProcess(kFolderID, {"Trellin", "-group", kFolderID});
    m_delegate->applicationDidFinishLaunching();
    m_runtime->clear();

    FakeDistributedNotifications& bus = m_home->distributedNotifications;
    bus.post("TRFolderOffBadge", {}, {{"id", kOtherID}});
    bus.post("TRFolderDeleteBadge", {}, {{"id", kOtherID}});
    bus.post("TRFolderOffBadge", {}, {});
    // Only the main application watches the Dock, and shows folders in its window.
    bus.post("TRDockTilePinStateChanged", {}, {{"folderID", kFolderID}, {"isPinned", false}});
    bus.post("TROpenFolderInMainWindow", kFolderID);
    QVERIFY(m_runtime->calls.isEmpty());

    bus.post("TRFolderOffBadge", {}, {{"id", kFolderID}});
    bus.post("TRFolderOffBadge", {}, {{"id", kFolderID}, {"hide", true}});
    bus.post("TRFolderDeleteBadge", {}, {{"id", kFolderID}});
    QCOMPARE(m_runtime->calls, (QStringList{"showBadge OFF red 2", "refreshTile", "showBadge DELETE red 2"}));
}

void AppDelegateTest::refreshHandlers() {
    makeProcess(kFolderID, {"Trellin", "-group", kFolderID});
    m_delegate->applicationDidFinishLaunching();
    FakeDistributedNotifications& bus = m_home->distributedNotifications;
    m_runtime->clear();

    // Another process changed the tile's look: reloaded and drawn again.
    m_home->defaults->setObject("tileIconPadding", 6.0);
    bus.post("TRTileAppearanceChanged");
    bus.post("TRPopupSettingsChanged");
    bus.post("TRThemeChanged");
    QCOMPARE(m_runtime->calls,
             (QStringList{"reloadFromDefaults", "refreshTile", "reloadFromDefaults", "reloadFromDefaults"}));

    // With a visible popup: laid out again, and given the theme another process just stored.
    m_clock.advance(AppDelegate::reloadInterval);
    m_runtime->clear();
    m_runtime->popupExists = m_runtime->popupVisible = true;
    m_home->defaults->setObject("appTheme", "light");
    bus.post("TRPopupSettingsChanged");
    bus.post("TRThemeChanged");
    bus.post("TRCloseNonPinnedPopups", kOtherID);
    QCOMPARE(m_runtime->calls, (QStringList{"reloadFromDefaults", "layOutPopupAgain", "reloadFromDefaults",
                                            "setPopupAppearance light", "handleClosePopups " + kOtherID}));
}

void AppDelegateTest::burstsOfNotificationsReloadOncePerInterval() {
    // The main application has written the folders file back complete, as it does at its start.
    makeProcess({});
    m_delegate->applicationDidFinishLaunching();
    makeProcess(kFolderID, {"Trellin", "-group", kFolderID});
    m_delegate->applicationDidFinishLaunching();
    m_runtime->clear();
    FakeDistributedNotifications& bus = m_home->distributedNotifications;

    // Any bus client may post these: two thousand of two kinds in half a second, and halfway
    // through another process changes the tile's look.
    for (int i = 0; i < 1000; ++i) {
        if (i == 500)
            m_home->defaults->setObject("tileIconPadding", 7.0);
        bus.post("TRTileAppearanceChanged");
        bus.post("TRPopupSettingsChanged");
        m_clock.advance(0.0005);
    }
    m_clock.advance(AppDelegate::reloadInterval);
    // The first of each kind at once, then one per interval each, and one after the last.
    QVERIFY2(m_runtime->calls.count("reloadFromDefaults") <= 2 * 7, qPrintable(m_runtime->calls.join(u',')));
    // The tile is drawn again for the change, and only for it.
    QCOMPARE(m_settings->tileIconPadding(), 7.0);
    QCOMPARE(m_runtime->calls.count("refreshTile"), 1);

    // Quiet again: a single notification is handled at once.
    m_clock.advance(1);
    m_runtime->clear();
    m_home->defaults->setObject("tileIconPadding", 8.0);
    bus.post("TRTileAppearanceChanged");
    QCOMPARE(m_runtime->calls, (QStringList{"reloadFromDefaults", "refreshTile"}));
}

void AppDelegateTest::reloadsThatChangeNothingWriteNothing() {
    makeProcess({});
    m_delegate->applicationDidFinishLaunching(); // the stored file is written back once, completed
    const QString defaultsFile = m_home->defaults->filePath();
    m_home->defaults->setObject("tileIconPadding", 5.0); // the defaults file exists
    const QDateTime longAgo(QDate(2020, 1, 1), QTime(0, 0), Qt::UTC);
    for (const QString& path : {m_home->foldersFile(), defaultsFile}) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite) && file.setFileTime(longAgo, QFileDevice::FileModificationTime));
    }
    QSignalSpy foldersChanged(m_store.get(), &FolderStore::foldersChanged);

    // The main application hears its own relays as well as the process-local notice.
    for (int i = 0; i < 100; ++i) {
        m_home->localNotifications.post("tileAppearanceChanged");
        m_home->distributedNotifications.post("TRTileAppearanceChanged");
        m_clock.advance(0.01);
    }
    m_clock.advance(1);
    QVERIFY(m_runtime->calls.count("reloadFromDefaults") > 1);
    QCOMPARE(foldersChanged.count(), 0);
    QCOMPARE(QFileInfo(m_home->foldersFile()).lastModified(), longAgo);
    QCOMPARE(QFileInfo(defaultsFile).lastModified(), longAgo);
}

void AppDelegateTest::terminationConsumesPreserveMarkerInHelper() {
    makeProcess({});
    QVERIFY(writeFile(markerPath(".preserve"), {}));
    m_delegate->applicationWillTerminate();
    QVERIFY(QFile::exists(markerPath(".preserve")));

    makeProcess(kFolderID, {"Trellin", "-group", kFolderID});
    m_delegate->applicationWillTerminate();
    QVERIFY(!QFile::exists(markerPath(".preserve")));
}

QTEST_GUILESS_MAIN(AppDelegateTest)
#include "AppDelegateTest.moc"
