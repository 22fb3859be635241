// Start-up in either mode, reopen, the helper's badges and its termination.
#include "app/AppDelegate.h"
#include "helpers/HelperState.h"
#include "helpers/RunMode.h"
#include "model/FolderCodec.h"
#include "model/FolderID.h"
#include "model/FolderStore.h"
#include "platform/Bundle.h"
#include "platform/LocalNotificationCenter.h"
#include "platform/PropertyList.h"
#include "platform/linux/PlistUserDefaults.h"

#include "ConsoleCapture.h"
#include "FakeDistributedNotifications.h"
#include "RecordingHelperActions.h"
#include "RecordingRuntime.h"
#include "VirtualClock.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString kFolderID = QStringLiteral("6F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C");
const double kNow = 1'800'000'000.0;
} // namespace

class AppDelegateTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void languageIsForcedBeforeLaunchFinishes();
    void mainApplicationStartUp();
    void mainApplicationPresentationFollowsMenuBarSetting();
    void mainApplicationReopenShowsFolderList();
    void helperStartedByMainApplicationShowsOn();
    void helperStartedWithGroupArgumentStaysQuiet();
    void helperStartedFromDockOpensPopupAndSwallowsFirstReopen();
    void helperWhoseFolderIsGoneRunsAsMainApplication();
    void badgesReachOnlyTheirHelper();
    void refreshHandlers();
    void terminationConsumesPreserveMarkerInHelper();

private:
    // Lays out a bundle (a helper when `groupID` is given) and the objects of one process.
    void makeProcess(const QString& groupID, const QStringList& arguments = {"Trellin"});
    AppFolder folder() const { return m_store->folders().first(); }
    void writeMarker(const QString& suffix, const QByteArray& content);
    QString markerPath(const QString& suffix) const;

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<ConsoleCapture> m_console;
    VirtualClock m_clock{kNow};
    std::unique_ptr<Bundle> m_bundle;
    std::unique_ptr<PlistUserDefaults> m_defaults;
    std::unique_ptr<RunMode> m_runMode;
    std::unique_ptr<LocalNotificationCenter> m_local;
    std::unique_ptr<FakeDistributedNotifications> m_distributed;
    std::unique_ptr<RecordingHelperActions> m_helperActions;
    std::unique_ptr<RecordingRuntime> m_runtime;
    std::unique_ptr<HelperState> m_helperState;
    std::unique_ptr<FolderStore> m_store;
    std::unique_ptr<AppDelegate> m_delegate;
};

void AppDelegateTest::init() {
    m_home = std::make_unique<QTemporaryDir>();
    m_console = std::make_unique<ConsoleCapture>();
    m_clock = VirtualClock(kNow);
    const QString support = m_home->filePath("share");
    QDir().mkpath(support + "/Trellin");
    QFile file(support + "/Trellin/folders.json");
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(R"([{"id":")" + kFolderID.toLatin1() +
               R"(","name":"Work","isInDock":true},)"
               R"({"id":"1F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C","name":"Play"}])");
}

void AppDelegateTest::cleanup() {
    m_delegate.reset();
    m_store.reset();
    m_console.reset();
}

void AppDelegateTest::makeProcess(const QString& groupID, const QStringList& arguments) {
    m_delegate.reset();
    m_store.reset();
    const QString bundlePath = m_home->filePath("Trellin.app");
    QVariantMap info{{"CFBundleIdentifier", "app.trellin.Trellin"}, {"CFBundleExecutable", "Trellin"}};
    if (!groupID.isEmpty())
        info.insert("TRGroupUUID", groupID);
    QDir().mkpath(bundlePath + "/Contents/MacOS");
    QVERIFY(PropertyList::writeFileAtomically(bundlePath + "/Contents/Info.plist", info, PropertyList::Format::Xml));

    const QString support = m_home->filePath("share");
    m_bundle = std::make_unique<Bundle>(bundlePath);
    m_defaults = std::make_unique<PlistUserDefaults>(m_home->filePath("Library/Preferences"),
                                                     QStringLiteral("app.trellin.Trellin"), arguments.mid(1));
    m_runMode = std::make_unique<RunMode>(*m_bundle, *m_defaults);
    m_local = std::make_unique<LocalNotificationCenter>();
    m_distributed = std::make_unique<FakeDistributedNotifications>();
    m_helperActions = std::make_unique<RecordingHelperActions>();
    m_runtime = std::make_unique<RecordingRuntime>();
    m_helperState = std::make_unique<HelperState>(support);
    QDir().mkpath(m_helperState->helperStateDir());
    m_store = std::make_unique<FolderStore>(
        support, FolderStore::Services{m_clock, m_clock, *m_local, *m_helperActions,
                                       [this] { return m_runMode->isHelperProcess(); },
                                       [this]() -> HelperLaunchStamps* { return m_delegate.get(); }});
    m_delegate = std::make_unique<AppDelegate>(AppDelegate::Services{
        m_clock, *m_defaults, *m_local, *m_distributed, *m_runtime, *m_runMode, *m_store, *m_helperState, *m_runtime,
        *m_runtime, *m_runtime, *m_runtime, *m_runtime, *m_runtime, *m_runtime, arguments});
}

QString AppDelegateTest::markerPath(const QString& suffix) const {
    return m_helperState->markerPath(*FolderID::parse(kFolderID), suffix);
}

void AppDelegateTest::writeMarker(const QString& suffix, const QByteArray& content) {
    QFile file(markerPath(suffix));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

void AppDelegateTest::languageIsForcedBeforeLaunchFinishes() {
    makeProcess({});
    m_delegate->applicationWillFinishLaunching();
    QCOMPARE(m_defaults->object("AppleLanguages"), QVariant(QVariantList{"en"}));
    m_defaults->setObject("language", "uk");
    m_delegate->applicationWillFinishLaunching();
    QCOMPARE(m_defaults->object("AppleLanguages"), QVariant(QVariantList{"uk"}));
}

void AppDelegateTest::mainApplicationStartUp() {
    makeProcess({});
    m_defaults->setObject("group", kFolderID); // left by an earlier helper run
    m_runtime->tileSize = 48;
    QVERIFY(!AppDelegate::shared());
    m_delegate->applicationDidFinishLaunching();

    QCOMPARE(AppDelegate::shared(), m_delegate.get());
    QCOMPARE(m_runtime->calls, (QStringList{"startUpdater", "reloadFromDefaults", "syncHelpers 2",
                                            "startDockStateMonitoring", "activationPolicy regular"}));
    QVERIFY(m_delegate->didApplyInitialMainAppPresentation());
    QCOMPARE(m_delegate->cachedDockHeight(), 66.0);
    QVERIFY(!m_defaults->hasObject("group"));
    // The stored file was read and written back with its defaults filled in.
    QCOMPARE(m_store->folders().size(), 2);
    QFile file(m_store->saveURL());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains(R"("emoji":"folder.fill")"));

    // Process-local: a tile-style change reloads settings and folders; nothing is drawn here.
    m_runtime->calls.clear();
    m_local->post("tileAppearanceChanged");
    QCOMPARE(m_runtime->calls, QStringList{"reloadFromDefaults"});
}

void AppDelegateTest::mainApplicationPresentationFollowsMenuBarSetting() {
    makeProcess({});
    m_runtime->menuBar = true;
    m_runtime->tileSize = std::nullopt;
    m_delegate->applicationDidFinishLaunching();
    QCOMPARE(m_runtime->policy, ActivationPolicy::Accessory);
    QCOMPARE(m_delegate->cachedDockHeight(), 64.0);

    // Switching keeps an open main window in front.
    m_runtime->calls.clear();
    m_runtime->menuBar = false;
    m_runtime->key = 42;
    m_local->post("showMenuBarChanged");
    QCOMPARE(m_runtime->calls, (QStringList{"activationPolicy regular", "orderFrontIfVisible 42"}));

    m_runtime->calls.clear();
    m_runtime->key = 0;
    m_runtime->menuBar = true;
    m_delegate->updateMainAppPresentationMode();
    QCOMPARE(m_runtime->calls, QStringList{"activationPolicy accessory"});
}

void AppDelegateTest::mainApplicationReopenShowsFolderList() {
    makeProcess({});
    m_delegate->applicationDidFinishLaunching();
    m_runtime->calls.clear();
    QCOMPARE(m_delegate->applicationShouldHandleReopen(false), false);
    QCOMPARE(m_delegate->applicationShouldHandleReopen(true), false);
    QCOMPARE(m_runtime->calls, (QStringList{"showMainWindow allFolders", "showMainWindow allFolders"}));
    QVERIFY(!m_delegate->applicationShouldTerminateAfterLastWindowClosed());
}

void AppDelegateTest::helperStartedByMainApplicationShowsOn() {
    makeProcess(kFolderID, {"Trellin", "-group", kFolderID});
    writeMarker(".launch", QByteArray::number(kNow - 59.5, 'f', 3) + "\n");
    m_delegate->applicationDidFinishLaunching();

    QCOMPARE(m_runtime->calls, (QStringList{"reloadFromDefaults", "activationPolicy regular", "orderOutFirstWindow",
                                            "presentFolderTile " + kFolderID, "showBadge ON green 2"}));
    QVERIFY(!QFile::exists(markerPath(".launch")));
    QCOMPARE(m_defaults->stringForKey("group"), std::optional<QString>(kFolderID));
    QVERIFY(!m_delegate->shouldIgnoreNextHelperReopen());
}

void AppDelegateTest::helperStartedWithGroupArgumentStaysQuiet() {
    // A stale marker, then an unreadable one: neither counts, both are deleted.
    for (const QByteArray& marker : {QByteArray::number(kNow - 61, 'f', 3), QByteArray("soon")}) {
        makeProcess(kFolderID, {"Trellin", "-group", kFolderID});
        writeMarker(".launch", marker);
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
    QCOMPARE(m_delegate->pendingInitialHelperPopupFolderID(), FolderID::parse(kFolderID));
    QVERIFY(m_delegate->shouldIgnoreNextHelperReopen());
    QVERIFY(!m_runtime->calls.contains("syncHelpers 2"));

    // The reopen of the same click arrives while the popup shows: swallowed.
    m_runtime->popupExists = m_runtime->popupVisible = true;
    m_runtime->calls.clear();
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
    QFile file(m_store->saveURL());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    m_delegate->applicationDidFinishLaunching();
    // No updater in a helper bundle, but the main application's other steps.
    QCOMPARE(m_runtime->calls, (QStringList{"reloadFromDefaults", "syncHelpers 2", "startDockStateMonitoring",
                                            "activationPolicy regular"}));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);

    m_runtime->calls.clear();
    m_delegate->applicationShouldHandleReopen(false);
    QCOMPARE(m_runtime->calls, QStringList{"showMainWindow allFolders"});
}

void AppDelegateTest::badgesReachOnlyTheirHelper() {
    makeProcess(kFolderID, {"Trellin", "-group", kFolderID});
    m_delegate->applicationDidFinishLaunching();
    m_runtime->calls.clear();

    m_distributed->post("TRFolderOffBadge", {}, {{"id", "1F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C"}});
    m_distributed->post("TRFolderDeleteBadge", {}, {{"id", "1F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C"}});
    m_distributed->post("TRFolderOffBadge", {}, {});
    QVERIFY(m_runtime->calls.isEmpty());

    m_distributed->post("TRFolderOffBadge", {}, {{"id", kFolderID}});
    m_distributed->post("TRFolderOffBadge", {}, {{"id", kFolderID}, {"hide", true}});
    m_distributed->post("TRFolderDeleteBadge", {}, {{"id", kFolderID}});
    QCOMPARE(m_runtime->calls, (QStringList{"showBadge OFF red 2", "refreshTile", "showBadge DELETE red 2"}));
}

void AppDelegateTest::refreshHandlers() {
    makeProcess(kFolderID, {"Trellin", "-group", kFolderID});
    m_delegate->applicationDidFinishLaunching();
    m_runtime->calls.clear();

    m_distributed->post("TRTileAppearanceChanged");
    QCOMPARE(m_runtime->calls, (QStringList{"reloadFromDefaults", "refreshTile"}));

    m_runtime->calls.clear();
    m_distributed->post("TRPopupSettingsChanged");
    m_distributed->post("TRThemeChanged");
    QCOMPARE(m_runtime->calls, (QStringList{"reloadFromDefaults", "reloadFromDefaults"}));

    m_runtime->calls.clear();
    m_runtime->popupExists = m_runtime->popupVisible = true;
    m_runtime->theme = AppThemeMode::Light;
    m_distributed->post("TRPopupSettingsChanged");
    m_distributed->post("TRThemeChanged");
    m_distributed->post("TRCloseNonPinnedPopups", "1F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C");
    QCOMPARE(m_runtime->calls,
             (QStringList{"reloadFromDefaults", "layOutPopupAgain", "reloadFromDefaults", "setPopupAppearance light",
                          "handleClosePopups 1F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C"}));
}

void AppDelegateTest::terminationConsumesPreserveMarkerInHelper() {
    makeProcess({});
    writeMarker(".preserve", {});
    m_delegate->applicationWillTerminate();
    QVERIFY(QFile::exists(markerPath(".preserve")));

    makeProcess(kFolderID, {"Trellin", "-group", kFolderID});
    m_delegate->applicationWillTerminate();
    QVERIFY(!QFile::exists(markerPath(".preserve")));
}

QTEST_GUILESS_MAIN(AppDelegateTest)
#include "AppDelegateTest.moc"
