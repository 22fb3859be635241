// Helper processes over their life: rebuild and launch, removal, synchronisation with the
// folders in the Dock, and the delayed Dock removal with its badges.
#include "helpers/HelperManager.h"
#include "model/FolderID.h"
#include "platform/Bundle.h"
#include "platform/LocalNotificationCenter.h"
#include "platform/PropertyList.h"
#include "platform/linux/PlistPreferenceDomain.h"

#include "CapturedSystemLog.h"
#include "ConsoleCapture.h"
#include "FakeDistributedNotifications.h"
#include "FakeSigner.h"
#include "FakeWorkspace.h"
#include "RecordingHelperActions.h"
#include "TestFiles.h"
#include "VirtualClock.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QVariantMap dockTile(const QString& bundlePath) {
    const QVariantMap fileData{{"_CFURLString", QString::fromLatin1(QUrl::fromLocalFile(bundlePath + '/').toEncoded())},
                               {"_CFURLStringType", 15}};
    return {{"tile-data", QVariantMap{{"file-data", fileData}, {"file-label", QFileInfo(bundlePath).baseName()}}}};
}

} // namespace

class HelperManagerTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void recreateStopsOldHelperMarksAndLaunches();
    void launchOutcomesAreReported();
    void removeHelperTouchesMarkersOnlyWithAHelper();
    void syncBuildsLaunchesAndRemovesStrays();
    void syncRebuildsOnlyStoppedOutdatedHelpers();
    void dockRemovalRunsAfterDelayUnlessCancelled();
    void appearanceChangesAreRelayed();

private:
    AppFolder folder(const QString& name, bool inDock = true) const;
    QString marker(const AppFolder& f, const QString& suffix) const {
        return m_manager->state().markerPath(f.id, suffix);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Bundle> m_app;
    VirtualClock m_clock{1'800'000'000.5};
    FakeWorkspace m_workspace;
    FakeDistributedNotifications m_distributed;
    LocalNotificationCenter m_local;
    CapturedSystemLog m_log;
    RecordingHelperActions m_stamps;
    std::unique_ptr<PlistPreferenceDomain> m_dock;
    std::unique_ptr<ConsoleCapture> m_console;
    std::unique_ptr<HelperManager> m_manager;
};

void HelperManagerTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    const QString app = m_dir->filePath("Trellin.app");
    QDir().mkpath(app + "/Contents");
    QVERIFY(PropertyList::writeFileAtomically(
        app + "/Contents/Info.plist",
        QVariantMap{{"CFBundleIdentifier", "app.trellin.Trellin"}, {"CFBundleExecutable", "Trellin"}},
        PropertyList::Format::Xml));
    QVERIFY(writeFile(app + "/Contents/MacOS/Trellin", "binary"));
    m_app = std::make_unique<Bundle>(app);
    m_workspace = FakeWorkspace();
    m_distributed.posted.clear();
    m_log.lines.clear();
    m_stamps.clear();
    const QString preferences = m_dir->filePath("Library/Preferences");
    QDir().mkpath(preferences);
    m_dock = std::make_unique<PlistPreferenceDomain>(preferences, "com.apple.dock");
    m_console = std::make_unique<ConsoleCapture>();
    m_manager = std::make_unique<HelperManager>(
        HelperManager::Services{m_clock, m_clock, m_workspace, m_distributed, m_local, m_log, *m_dock, *m_app,
                                [this]() -> HelperLaunchStamps* { return &m_stamps; }, m_dir->filePath("share"),
                                m_dock->filePath(), makeFakeSigner(m_dir->path())});
}

void HelperManagerTest::cleanup() {
    m_manager.reset();
    m_console.reset();
}

AppFolder HelperManagerTest::folder(const QString& name, bool inDock) const {
    AppFolder f(QUuid::createUuid(), name, "folder.fill");
    f.isInDock = inDock;
    return f;
}

void HelperManagerTest::recreateStopsOldHelperMarksAndLaunches() {
    const AppFolder work = folder("Work");
    const QString helper = m_manager->builder().buildHelperBundle(work).value();
    QVERIFY(writeFile(helper + "/Contents/stale", "from the old build"));
    m_workspace.running = {{7, helper}, {8, "/elsewhere/Other.app"}, {9, helper}};

    m_manager->recreateAndLaunchHelper(work);
    // Every running copy was asked to quit, and told it is being replaced.
    QCOMPARE(m_workspace.terminated, (QStringList{helper, helper}));
    QVERIFY(QFile::exists(marker(work, ".preserve")));
    QCOMPARE(readFile(marker(work, ".launch")), QByteArray("1800000000.5"));
    QVERIFY(!QFile::exists(helper + "/Contents/stale"));
    QCOMPARE(m_workspace.opened, QStringList{helper + " -group " + FolderID::canonical(work.id)});
}

void HelperManagerTest::launchOutcomesAreReported() {
    const AppFolder work = folder("Work");
    m_manager->recreateAndLaunchHelper(work);
    const QString helper = m_manager->builder().helperBundleURL(work.id).value();
    m_workspace.finishOpens();
    QCOMPARE(m_console->lines, QStringList{"Successfully launched helper: " + helper});
    QCOMPARE(m_log.lines, QStringList{"Trellin: Successfully launched helper: " + helper});
    QVERIFY(QFile::exists(marker(work, ".launch")));

    m_manager->launchHelper(helper, work.id);
    m_workspace.finishOpens(QStringLiteral("No such file"));
    QCOMPARE(m_console->lines.last(), "Failed to launch helper " + helper + ": No such file");
    QCOMPARE(m_log.lines.last(), "Trellin: Failed to launch helper " + helper + ": No such file");
    QVERIFY(!QFile::exists(marker(work, ".launch")));

    // A completion that arrives after the manager is gone does nothing.
    m_manager->launchHelper(helper, work.id);
    m_manager.reset();
    m_workspace.finishOpens(QStringLiteral("late"));
    QCOMPARE(m_log.lines.size(), 2);
}

void HelperManagerTest::removeHelperTouchesMarkersOnlyWithAHelper() {
    const AppFolder work = folder("Work");
    QVERIFY(writeFile(marker(work, ".preserve"), {}));
    m_manager->removeHelper(work.id, false);
    QVERIFY(QFile::exists(marker(work, ".preserve")));

    const QString helper = m_manager->builder().buildHelperBundle(work).value();
    m_manager->removeHelper(work.id, false);
    QVERIFY(!QFile::exists(marker(work, ".preserve")));
    QVERIFY(!QFileInfo::exists(helper));

    QVERIFY(writeFile(marker(work, ".preserve"), {}));
    QVERIFY(m_manager->consumePreserveMarker(work.id));
    QVERIFY(!m_manager->consumePreserveMarker(work.id));
}

void HelperManagerTest::syncBuildsLaunchesAndRemovesStrays() {
    const AppFolder running = folder("Running");
    const AppFolder stopped = folder("Stopped");
    const AppFolder missing = folder("Missing");
    const AppFolder loose = folder("Loose", false);
    HelperBundleBuilder& builder = m_manager->builder();
    const QString runningPath = builder.buildHelperBundle(running).value();
    const QString stoppedPath = builder.buildHelperBundle(stopped).value();
    const QString loosePath = builder.buildHelperBundle(loose).value();
    const QString noPlist = builder.helpersDir() + "/Broken.app";
    QDir().mkpath(noPlist);
    QDir().mkpath(builder.helpersDir() + "/NotABundle");
    m_workspace.running = {{10, runningPath}, {11, loosePath}};

    m_manager->syncHelpers({running, stopped, missing, loose});
    QCOMPARE(m_workspace.terminated, QStringList{loosePath});
    QVERIFY(!QFileInfo::exists(loosePath));
    QVERIFY(!QFileInfo::exists(noPlist));
    QVERIFY(QFileInfo::exists(builder.helpersDir() + "/NotABundle"));
    const QString missingPath = builder.helperBundleURL(missing.id).value();
    QCOMPARE(m_workspace.opened, (QStringList{stoppedPath + " -group " + FolderID::canonical(stopped.id),
                                              missingPath + " -group " + FolderID::canonical(missing.id)}));
    QCOMPARE(m_stamps.calls, (QStringList{"stamp " + FolderID::canonical(stopped.id) + " 1800000000.5",
                                          "stamp " + FolderID::canonical(missing.id) + " 1800000000.5"}));
    QVERIFY(QFile::exists(marker(missing, ".launch")));
    QVERIFY(!QFile::exists(marker(stopped, ".launch")));
}

void HelperManagerTest::syncRebuildsOnlyStoppedOutdatedHelpers() {
    const AppFolder running = folder("Running");
    const AppFolder stopped = folder("Stopped");
    HelperBundleBuilder& builder = m_manager->builder();
    const QString runningPath = builder.buildHelperBundle(running).value();
    const QString stoppedPath = builder.buildHelperBundle(stopped).value();
    for (const QString& helper : {runningPath, stoppedPath}) {
        QFile executable(helper + "/Contents/MacOS/Trellin");
        QVERIFY(executable.open(QIODevice::ReadWrite));
        QVERIFY(executable.setFileTime(QDateTime::currentDateTimeUtc().addDays(-1), QFileDevice::FileModificationTime));
        QVERIFY(writeFile(helper + "/Contents/marker", "old build"));
    }
    m_workspace.running = {{10, runningPath}};

    m_manager->syncHelpers({running, stopped});
    QVERIFY(QFile::exists(runningPath + "/Contents/marker"));
    QVERIFY(!QFile::exists(stoppedPath + "/Contents/marker"));
    QCOMPARE(m_workspace.opened, QStringList{stoppedPath + " -group " + FolderID::canonical(stopped.id)});
    QVERIFY(m_workspace.terminated.isEmpty());
}

void HelperManagerTest::dockRemovalRunsAfterDelayUnlessCancelled() {
    const AppFolder work = folder("Work");
    const AppFolder play = folder("Play");
    const QString workPath = m_manager->builder().buildHelperBundle(work).value();
    const QString playPath = m_manager->builder().buildHelperBundle(play).value();
    QVERIFY(m_dock->setValue("persistent-apps", QVariantList{dockTile(workPath), dockTile(playPath)}));

    // Out and back in within the delay: the tiles stay and the badge is hidden again.
    m_manager->scheduleDockRemoval(work, 2.0);
    m_clock.advance(1.5);
    m_manager->cancelDockRemoval(work.id);
    m_clock.advance(5);
    QCOMPARE(m_dock->copyValue("persistent-apps").toList().size(), 2);
    QVERIFY(QFileInfo::exists(workPath));
    QCOMPARE(m_distributed.posted.size(), 2);
    QCOMPARE(m_distributed.posted.at(0).userInfo, (QVariantMap{{"id", FolderID::canonical(work.id)}}));
    QCOMPARE(m_distributed.posted.at(1).userInfo, (QVariantMap{{"id", FolderID::canonical(work.id)}, {"hide", true}}));

    // Scheduled twice: only the second runs, 2 s after it. Another folder's removal is independent.
    m_manager->scheduleDockRemoval(work, 2.0);
    m_clock.advance(1.0);
    m_manager->scheduleDockRemoval(work, 2.0);
    m_manager->scheduleDockRemoval(play, 0.5);
    m_clock.advance(0.5);
    QVERIFY(!QFileInfo::exists(playPath));
    QCOMPARE(m_dock->copyValue("persistent-apps").toList(), QVariantList{dockTile(workPath)});
    m_clock.advance(1.4);
    QVERIFY(QFileInfo::exists(workPath));
    m_clock.advance(0.1);
    QVERIFY(!QFileInfo::exists(workPath));
    QVERIFY(m_dock->copyValue("persistent-apps").toList().isEmpty());
    QCOMPARE(m_distributed.posted.last().name, "com.apple.dock.prefchanged");
    QCOMPARE(m_clock.pendingCount(), 0);
}

void HelperManagerTest::appearanceChangesAreRelayed() {
    m_local.post("tileAppearanceChanged", QUuid::createUuid());
    m_local.post("popupSettingsChanged");
    QCOMPARE(m_distributed.posted.size(), 2);
    QCOMPARE(m_distributed.posted.at(0).name, "TRTileAppearanceChanged");
    QVERIFY(m_distributed.posted.at(0).userInfo.isEmpty());
    QCOMPARE(m_distributed.posted.at(1).name, "TRPopupSettingsChanged");
}

QTEST_GUILESS_MAIN(HelperManagerTest)
#include "HelperManagerTest.moc"
