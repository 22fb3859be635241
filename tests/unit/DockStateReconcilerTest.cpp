// Dock watching: the start-up grace, what keeps a folder whose tile the Dock does not list, the
// watchers and their re-arming, and the pin-state notification with its delayed check.
#include "app/DockStateReconciler.h"
#include "helpers/HelperState.h"
#include "model/DockHeight.h"
#include "model/FolderID.h"
#include "model/FolderStore.h"
#include "platform/InstanceEndings.h"

#include "ConsoleCapture.h"
#include "DockTiles.h"
#include "FakeFileEvents.h"
#include "TestFiles.h"
#include "TestHelperManager.h"
#include "TestHome.h"
#include "VirtualClock.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

namespace {

const QUuid kWork = *FolderID::parse(QStringLiteral("6F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C"));
const QUuid kPlay = *FolderID::parse(QStringLiteral("1F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C"));
const QUuid kIdle = *FolderID::parse(QStringLiteral("2F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C"));
constexpr double kStart = 1'800'000'000.0;
// The connection that owns the Dock's bus name, as the backend would name it.
const QString kDock = QStringLiteral(":1.7");

struct FakeHelperEndings final : InstanceEndings {
    void observeHelperEndings(std::function<void()> handler) override { ended = std::move(handler); }
    std::function<void()> ended;
};

} // namespace

class DockStateReconcilerTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void graceRecentLaunchAndRunningHelperKeepAFolder();
    void watchersReArmAfterDeleteOrRename();
    void missingDockFileIsAwaitedInItsFolder();
    void withoutFileWatchesItLooksEveryFewSeconds();
    void pinStateNotificationChecksAfterADelay();
    void pinStateFromAnyoneButTheDockIsIgnored();
    void unreadableFoldersFileTakesNothingOut();
    void aFolderSwitchedIntoTheDockOutlivesItsHelper();

private:
    QString helperOf(const QUuid& id) const {
        return m_helpers->manager->builder().helperBundleURL(id).value_or(QString());
    }
    QString dockFile() const { return m_helpers->dock.filePath(); }
    QString helperStateDir() const { return m_helpers->manager->state().helperStateDir(); }
    void pinInDock(const QList<QUuid>& ids) {
        QVariantList tiles;
        for (const QUuid& id : ids)
            tiles.append(dockTile(helperOf(id)));
        QVERIFY(m_helpers->dock.setValue("persistent-apps", tiles));
    }
    bool inDock(const QUuid& id) const {
        for (const AppFolder& folder : m_store->folders()) {
            if (folder.id == id)
                return folder.isInDock;
        }
        return false;
    }
    // The names of the folders the folders file holds as in the Dock.
    QStringList storedInDock() const {
        QStringList names;
        for (const QJsonValue& folder : QJsonDocument::fromJson(readFile(m_home->foldersFile())).array()) {
            if (folder["isInDock"].toBool())
                names.append(folder["name"].toString());
        }
        return names;
    }
    void post(const QVariantMap& userInfo, const QString& sender = kDock) {
        m_reconciler->handleDockTilePinStateChanged(
            {.name = "TRDockTilePinStateChanged", .object = {}, .userInfo = userInfo, .sender = sender});
    }

    std::unique_ptr<TestHome> m_home;
    VirtualClock m_clock{kStart};
    FakeFileEvents m_fileEvents;
    FakeHelperEndings m_endings;
    DockHeight m_dockHeight;
    std::unique_ptr<TestHelperManager> m_helpers;
    std::unique_ptr<FolderStore> m_store;
    std::unique_ptr<DockStateReconciler> m_reconciler;
};

void DockStateReconcilerTest::init() {
    m_home = std::make_unique<TestHome>();
    m_clock = VirtualClock(kStart);
    m_dockHeight = DockHeight();
    m_fileEvents.exhausted = false;
    m_helpers = std::make_unique<TestHelperManager>(*m_home, m_clock);
    m_store =
        std::make_unique<FolderStore>(m_home->applicationSupport(), FolderStore::Services{
                                                                        .clock = m_clock,
                                                                        .scheduler = m_clock,
                                                                        .notifications = m_home->localNotifications,
                                                                        .helpers = *m_helpers->manager,
                                                                        .launchLog = m_helpers->launchLog,
                                                                        .isHelperProcess = [] { return false; },
                                                                    });
    m_reconciler = std::make_unique<DockStateReconciler>(DockStateReconciler::Services{
        .clock = m_clock,
        .scheduler = m_clock,
        .fileEvents = m_fileEvents,
        .helperEndings = m_endings,
        .store = *m_store,
        .helpers = *m_helpers->manager,
        .launchLog = m_helpers->launchLog,
        .dockHeight = m_dockHeight,
        .isFromDock = [](const Notification& n) { return n.sender == kDock; },
    });

    // Work is pinned in the Dock, Play is in the Dock state but not in the Dock's list, Idle is out.
    const auto folder = [](const QUuid& id, const char* name, bool inDock) {
        return QStringLiteral(R"({"id":"%1","name":"%2","isInDock":%3})")
            .arg(FolderID::canonical(id), name, inDock ? "true" : "false");
    };
    QVERIFY(writeFile(m_home->foldersFile(), ('[' + folder(kWork, "Work", true) + ',' + folder(kPlay, "Play", true) +
                                              ',' + folder(kIdle, "Idle", false) + ']')
                                                 .toUtf8()));
    m_store->load();
    m_helpers->manager->syncHelpers(m_store->folders()); // builds both helpers; none of them runs
    QVERIFY(!helperOf(kWork).isEmpty() && !helperOf(kPlay).isEmpty());
    pinInDock({kWork});
    m_clock.advance(3); // the launches of the helpers above are no longer recent
}

void DockStateReconcilerTest::cleanup() {
    m_reconciler.reset();
    m_store.reset();
    m_helpers.reset();
    m_home.reset();
}

void DockStateReconcilerTest::graceRecentLaunchAndRunningHelperKeepAFolder() {
    const double start = m_clock.now();
    m_reconciler->startDockStateMonitoring();
    QCOMPARE(m_reconciler->dockPinnedStateByFolderID(), (QHash<QUuid, bool>{{kWork, true}, {kPlay, false}}));

    // Within the grace period events only record what the Dock says.
    m_clock.advance(5.1);
    QVERIFY(m_fileEvents.fire(helperStateDir(), FileEvents::Write));
    m_helpers->launchLog.recordLaunch(kPlay); // relaunched: its tile is on its way
    m_clock.advance(6.0 - (m_clock.now() - start) - 0.001);
    QVERIFY(inDock(kPlay));

    // The first reconciliation that may remove runs at 6.1 s; a launch 1 s old keeps the folder.
    m_clock.advance(0.101);
    QVERIFY(inDock(kPlay) && inDock(kWork));

    // A running helper keeps it as well, the launch long past.
    m_clock.advance(3);
    m_helpers->workspace.running = {{4242, helperOf(kPlay)}};
    QVERIFY(m_fileEvents.fire(helperStateDir(), FileEvents::Attrib));
    m_clock.advance(0.05);
    QVERIFY(inDock(kPlay));

    // That helper ends: reconciled with no file event at all, after the HelperState delay and
    // again a second later, for a process still finishing when its name went.
    const QString playHelper = helperOf(kPlay);
    QVERIFY(m_endings.ended);
    m_endings.ended();
    m_clock.advance(0.05);
    QVERIFY(inDock(kPlay));
    m_helpers->workspace.running.clear();
    m_clock.advance(0.948);
    QVERIFY(inDock(kPlay));
    m_clock.advance(0.004);
    QVERIFY(!inDock(kPlay) && inDock(kWork));
    QCOMPARE(storedInDock(), QStringList{"Work"});
    QVERIFY(!QFileInfo::exists(playHelper));
    QVERIFY(!m_helpers->launchLog.recentHelperLaunchDates().contains(kPlay));
    // Only folders in the Dock are in the map.
    QCOMPARE(m_reconciler->dockPinnedStateByFolderID(), (QHash<QUuid, bool>{{kWork, true}}));

    // Gone with its owner: no watch, and a late ending does nothing.
    m_reconciler.reset();
    QVERIFY(!m_fileEvents.isWatched(helperStateDir()) && !m_fileEvents.isWatched(dockFile()));
    m_endings.ended();
    m_clock.advance(1);
}

void DockStateReconcilerTest::watchersReArmAfterDeleteOrRename() {
    m_reconciler->startDockStateMonitoring();
    QVERIFY(m_fileEvents.isWatched(helperStateDir()) && m_fileEvents.isWatched(dockFile()));
    QCOMPARE(m_dockHeight.cached(), 0.0); // derived at launch by the delegate, here only on Dock changes

    QVERIFY(m_helpers->dock.setValue("tilesize", 48));
    QVERIFY(m_fileEvents.fire(dockFile(), FileEvents::Write));
    m_clock.advance(0.03);
    QCOMPARE(m_dockHeight.cached(), 66.0);
    QVERIFY(m_fileEvents.isWatched(dockFile()));

    // Replaced by another file: the watch goes, and comes back on the new file 0.05 s later.
    QVERIFY(m_fileEvents.fire(dockFile(), FileEvents::Delete));
    m_clock.advance(0.03);
    QVERIFY(!m_fileEvents.isWatched(dockFile()));
    m_clock.advance(0.05);
    QVERIFY(m_fileEvents.isWatched(dockFile()));

    // The HelperState folder moved away is made again and watched.
    QVERIFY(QDir(helperStateDir()).removeRecursively());
    QVERIFY(m_fileEvents.fire(helperStateDir(), FileEvents::Rename));
    m_clock.advance(0.05);
    QVERIFY(!m_fileEvents.isWatched(helperStateDir()));
    m_clock.advance(0.05);
    QVERIFY(QFileInfo(helperStateDir()).isDir() && m_fileEvents.isWatched(helperStateDir()));
}

void DockStateReconcilerTest::missingDockFileIsAwaitedInItsFolder() {
    const QString folder = QFileInfo(dockFile()).absolutePath();
    QVERIFY(QFile::remove(dockFile()));
    m_reconciler->startDockStateMonitoring();
    QVERIFY(!m_fileEvents.isWatched(dockFile()) && m_fileEvents.isWatched(folder));

    // Another file of the folder changes: still waiting.
    QVERIFY(writeFile(folder + "/other.plist", "x"));
    QVERIFY(m_fileEvents.fire(folder, FileEvents::Write));
    m_clock.advance(0.03);
    QVERIFY(m_fileEvents.isWatched(folder));

    // The Dock writes its preferences for the first time: the file is watched and read.
    pinInDock({kWork});
    QVERIFY(m_helpers->dock.setValue("tilesize", 30));
    QVERIFY(m_fileEvents.fire(folder, FileEvents::Write));
    m_clock.advance(0.03);
    QVERIFY(m_fileEvents.isWatched(dockFile()) && !m_fileEvents.isWatched(folder));
    QCOMPARE(m_dockHeight.cached(), 48.0);

    // Deleted again: back to waiting in the folder.
    QVERIFY(QFile::remove(dockFile()));
    QVERIFY(m_fileEvents.fire(dockFile(), FileEvents::Delete));
    m_clock.advance(0.08);
    QVERIFY(!m_fileEvents.isWatched(dockFile()) && m_fileEvents.isWatched(folder));
}

void DockStateReconcilerTest::withoutFileWatchesItLooksEveryFewSeconds() {
    ConsoleCapture console;
    const QString dockFolder = QFileInfo(dockFile()).absolutePath();
    const double every = DockStateReconciler::exhaustedWatchPollInterval;
    m_fileEvents.exhausted = true;
    m_helpers->workspace.running = {{4242, helperOf(kPlay)}};
    const double start = m_clock.now();
    m_reconciler->startDockStateMonitoring();
    QVERIFY(!m_fileEvents.isWatched(helperStateDir()) && !m_fileEvents.isWatched(dockFile()) &&
            !m_fileEvents.isWatched(dockFolder));
    QCOMPARE(console.lines.size(), 1);
    QVERIFY2(console.lines.first().startsWith("[DockStateReconciler] No file watches left"),
             qPrintable(console.lines.first()));

    // The Dock's file changes: seen at the next look, not before.
    m_clock.advance(DockStateReconciler::startupReconcileDelay);
    QVERIFY(inDock(kPlay)); // its helper runs
    QVERIFY(m_helpers->dock.setValue("tilesize", 48));
    m_clock.advance(start + 3 * every - 0.01 - m_clock.now());
    QCOMPARE(m_dockHeight.cached(), 0.0);
    m_clock.advance(0.02);
    QCOMPARE(m_dockHeight.cached(), 66.0);

    // Play's helper ends unannounced; a marker written into the HelperState folder is a change
    // there, and the next look reconciles.
    m_helpers->workspace.running.clear();
    QVERIFY(writeFile(helperStateDir() + "/" + FolderID::canonical(kIdle) + ".launch", "1"));
    m_clock.advance(every - 0.02);
    QVERIFY(inDock(kPlay));
    m_clock.advance(0.02);
    QVERIFY(!inDock(kPlay) && inDock(kWork));

    // Watches to be had again: file events take over, and the looking stops.
    m_fileEvents.exhausted = false;
    m_clock.advance(every);
    QVERIFY(m_fileEvents.isWatched(helperStateDir()) && m_fileEvents.isWatched(dockFile()));
    QCOMPARE(m_clock.pendingCount(), 0);
    QVERIFY(m_helpers->dock.setValue("tilesize", 30));
    QVERIFY(m_fileEvents.fire(dockFile(), FileEvents::Write));
    m_clock.advance(DockStateReconciler::dockPreferencesHandlerDelay);
    QCOMPARE(m_dockHeight.cached(), 48.0);

    // The Dock's file is replaced while none are to be had: looked at again, said no more.
    m_fileEvents.exhausted = true;
    QVERIFY(m_fileEvents.fire(dockFile(), FileEvents::Delete));
    m_clock.advance(0.08);
    QVERIFY(!m_fileEvents.isWatched(dockFile()));
    QVERIFY(m_helpers->dock.setValue("tilesize", 20));
    m_clock.advance(every);
    QCOMPARE(m_dockHeight.cached(), 38.0);
    QCOMPARE(console.lines.size(), 1);

    // Nothing is left to run once the reconciler is gone.
    m_reconciler.reset();
    QCOMPARE(m_clock.pendingCount(), 0);
}

void DockStateReconcilerTest::pinStateNotificationChecksAfterADelay() {
    m_reconciler->startDockStateMonitoring();
    const QString work = FolderID::canonical(kWork);

    // Malformed: ignored, whatever they hold.
    const QList<QVariantMap> malformed{{{"folderID", work}},
                                       {{"isPinned", false}},
                                       {{"folderID", work}, {"isPinned", "false"}},
                                       {{"folderID", work}, {"isPinned", 0}},
                                       {{"folderID", "not-a-uuid"}, {"isPinned", false}},
                                       {{"folderID", QVariant::fromValue(kWork)}, {"isPinned", false}}};
    for (const QVariantMap& userInfo : malformed)
        post(userInfo);
    QVERIFY(!m_reconciler->hasPendingHelperTerminationCheck(kWork));
    QCOMPARE(m_reconciler->dockPinnedStateByFolderID().value(kWork), true);

    // Reported unpinned, then pinned again before the check: nothing happens.
    post({{"folderID", work}, {"isPinned", false}});
    QVERIFY(m_reconciler->hasPendingHelperTerminationCheck(kWork));
    QCOMPARE(m_reconciler->dockPinnedStateByFolderID().value(kWork), true); // left as it was
    m_clock.advance(0.079);
    post({{"folderID", work.toLower()}, {"isPinned", true}});
    QVERIFY(!m_reconciler->hasPendingHelperTerminationCheck(kWork));
    m_clock.advance(1);
    QVERIFY(inDock(kWork));

    // A reconciliation that finds the tile listed cancels the check too.
    post({{"folderID", work}, {"isPinned", false}});
    QVERIFY(m_fileEvents.fire(dockFile(), FileEvents::Write));
    m_clock.advance(0.03);
    QVERIFY(!m_reconciler->hasPendingHelperTerminationCheck(kWork));

    // Really taken out: removed 0.08 s later, grace period or not.
    post({{"folderID", work}, {"isPinned", false}});
    pinInDock({});
    m_clock.advance(0.08);
    QVERIFY(!inDock(kWork));
    QVERIFY(!m_reconciler->dockPinnedStateByFolderID().contains(kWork));

    // A folder not recorded as pinned takes the reported state; when the Dock lists it by the
    // time of the check, it is recorded as pinned and stays.
    post({{"folderID", FolderID::canonical(kPlay)}, {"isPinned", true}});
    QCOMPARE(m_reconciler->dockPinnedStateByFolderID().value(kPlay), true);
    post({{"folderID", FolderID::canonical(kPlay)}, {"isPinned", false}});
    pinInDock({kPlay});
    m_clock.advance(0.08);
    QVERIFY(inDock(kPlay));
    QCOMPARE(m_reconciler->dockPinnedStateByFolderID().value(kPlay), true);

    // Pending checks go with their owner.
    post({{"folderID", FolderID::canonical(kPlay)}, {"isPinned", false}});
    pinInDock({});
    m_reconciler.reset();
    m_clock.advance(1);
    QVERIFY(inDock(kPlay));
}

void DockStateReconcilerTest::pinStateFromAnyoneButTheDockIsIgnored() {
    ConsoleCapture console;
    m_reconciler->startDockStateMonitoring();
    pinInDock({}); // no file event: only a notification can tell
    const QString work = FolderID::canonical(kWork);

    // Another program says Work left the Dock, again and again, and that Play is pinned: nothing
    // is checked or recorded, and it is said once.
    for (const QString& sender : {QStringLiteral(":1.99"), QStringLiteral(":1.99"), QString()}) {
        post({{"folderID", work}, {"isPinned", false}}, sender);
        post({{"folderID", FolderID::canonical(kPlay)}, {"isPinned", true}}, sender);
    }
    QVERIFY(!m_reconciler->hasPendingHelperTerminationCheck(kWork));
    QCOMPARE(m_reconciler->dockPinnedStateByFolderID().value(kWork), true);
    QCOMPARE(m_reconciler->dockPinnedStateByFolderID().value(kPlay), false);
    QCOMPARE(console.lines,
             QStringList{"[DockStateReconciler] Ignored TRDockTilePinStateChanged from :1.99, which is not the Dock"});
    m_clock.advance(1);
    QVERIFY(inDock(kWork));

    // The Dock says the same: Work goes.
    post({{"folderID", work}, {"isPinned", false}});
    m_clock.advance(DockStateReconciler::helperTerminationCheckDelay);
    QVERIFY(!inDock(kWork));
}

void DockStateReconcilerTest::unreadableFoldersFileTakesNothingOut() {
    // Reloaded from a file that cannot be read, the store still holds the folders of the last
    // good read: they must not be marked out of the Dock and written over the user's file.
    const QByteArray damaged = "[{\"id\": 1}";
    QVERIFY(writeFile(m_home->foldersFile(), damaged));
    m_store->load();
    QVERIFY(m_store->foldersFileUnreadable());
    m_reconciler->startDockStateMonitoring();
    post({{"folderID", FolderID::canonical(kWork)}, {"isPinned", false}});
    pinInDock({});
    m_clock.advance(7);
    QVERIFY(inDock(kWork) && inDock(kPlay));
    QCOMPARE(readFile(m_home->foldersFile()), damaged);
    QVERIFY(QFileInfo::exists(helperOf(kPlay)));
}

// Switched into the Dock by the user, a folder keeps its tile there: its helper ending (a crash, a
// quit) does not take it out, nor does a rename; the user taking the tile out by hand does.
void DockStateReconcilerTest::aFolderSwitchedIntoTheDockOutlivesItsHelper() {
    m_reconciler->startDockStateMonitoring();
    m_clock.advance(6.2);
    const auto reconcile = [this] {
        m_clock.advance(3); // past the launch window
        QVERIFY(m_fileEvents.fire(helperStateDir(), FileEvents::Write));
        m_clock.advance(0.05);
    };
    AppFolder idle = m_store->folders().at(2);
    idle.isInDock = true;
    m_store->updateFolder(idle);
    QVERIFY(m_helpers->workspace.running.isEmpty()); // its helper is not running
    reconcile();
    QVERIFY(inDock(kIdle));
    QCOMPARE(m_reconciler->dockPinnedStateByFolderID().value(kIdle), true);

    idle.name = "Quiet";
    m_store->updateFolder(idle);
    reconcile();
    QVERIFY(inDock(kIdle));
    QVERIFY(helperOf(kIdle).endsWith("/Quiet.app"));

    pinInDock({kWork});
    reconcile();
    QVERIFY(!inDock(kIdle) && inDock(kWork));
    QVERIFY(helperOf(kIdle).isEmpty());
}

QTEST_GUILESS_MAIN(DockStateReconcilerTest)
#include "DockStateReconcilerTest.moc"
