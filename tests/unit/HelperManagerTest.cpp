// Helper processes over their life: rebuild and launch, removal, synchronisation with the
// folders in the Dock, and the delayed Dock removal with its badges.
#include "model/FolderID.h"
#include "platform/DockFileFormat.h"

#include "DockTiles.h"
#include "TestFiles.h"
#include "TestHelperManager.h"
#include "TestHome.h"
#include "VirtualClock.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <sys/stat.h>

class HelperManagerTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void recreateStopsOldHelperMarksAndLaunches();
    void launchOutcomesAreReported();
    void removalTouchesMarkersOnlyWithAHelperAndNeverFollowsALink();
    void markersNeverReachOutsideTheStateFolder();
    void syncBuildsLaunchesAndRemovesStrays();
    void syncRebuildsOnlyStoppedOutdatedHelpers();
    void dockRemovalRunsAfterDelayUnlessCancelled();
    void keptTileFollowsTheFolderThroughRenameAndDelete();
    void appearanceChangesAreRelayed();

private:
    AppFolder folder(const QString& name, bool inDock = true) const;
    QString marker(const AppFolder& f, const QString& suffix) const {
        return m_helpers->manager->state().markerPath(f.id, suffix);
    }

    std::unique_ptr<TestHome> m_home;
    VirtualClock m_clock{1'800'000'000.5};
    std::unique_ptr<TestHelperManager> m_helpers;
};

void HelperManagerTest::init() {
    m_home = std::make_unique<TestHome>();
    m_helpers = std::make_unique<TestHelperManager>(*m_home, m_clock);
}

void HelperManagerTest::cleanup() {
    m_helpers.reset();
    m_home.reset();
}

AppFolder HelperManagerTest::folder(const QString& name, bool inDock) const {
    AppFolder f(QUuid::createUuid(), name, "folder.fill");
    f.isInDock = inDock;
    return f;
}

void HelperManagerTest::recreateStopsOldHelperMarksAndLaunches() {
    const AppFolder work = folder("Work");
    const QString helper = m_helpers->manager->builder().buildHelperBundle(work).value();
    QVERIFY(writeFile(helper + "/Contents/stale", "from the old build"));
    m_helpers->workspace.running = {{7, helper}, {8, "/elsewhere/Other.app"}, {9, helper}};

    m_helpers->manager->recreateAndLaunchHelper(work);
    // Every running copy was asked to quit, and told it is being replaced.
    QCOMPARE(m_helpers->workspace.terminated, (QStringList{helper, helper}));
    QVERIFY(QFile::exists(marker(work, ".preserve")));
    QCOMPARE(readFile(marker(work, ".launch")), QByteArray("1800000000.5"));
    QVERIFY(!QFile::exists(helper + "/Contents/stale"));
    QCOMPARE(m_helpers->workspace.opened, QStringList{helper + " -group " + FolderID::canonical(work.id)});
}

void HelperManagerTest::launchOutcomesAreReported() {
    const AppFolder work = folder("Work");
    m_helpers->manager->recreateAndLaunchHelper(work);
    const QString helper = m_helpers->manager->builder().helperBundleURL(work.id).value();
    m_helpers->workspace.finishOpens();
    QCOMPARE(m_home->console.lines, QStringList{"Successfully launched helper: " + helper});
    QCOMPARE(m_helpers->log.lines, QStringList{"Trellin: Successfully launched helper: " + helper});
    QVERIFY(QFile::exists(marker(work, ".launch")));

    m_helpers->manager->launchHelper(helper, work.id);
    m_helpers->workspace.finishOpens(QStringLiteral("No such file"));
    QCOMPARE(m_home->console.lines.last(), "Failed to launch helper " + helper + ": No such file");
    QCOMPARE(m_helpers->log.lines.last(), "Trellin: Failed to launch helper " + helper + ": No such file");
    QVERIFY(!QFile::exists(marker(work, ".launch")));

    // A completion that arrives after the manager is gone does nothing.
    m_helpers->manager->launchHelper(helper, work.id);
    m_helpers->manager.reset();
    m_helpers->workspace.finishOpens(QStringLiteral("late"));
    QCOMPARE(m_helpers->log.lines.size(), 2);
}

void HelperManagerTest::removalTouchesMarkersOnlyWithAHelperAndNeverFollowsALink() {
    const AppFolder work = folder("Work");
    QVERIFY(writeFile(marker(work, ".preserve"), {}));
    m_helpers->manager->removeHelper(work.id, false);
    QVERIFY(QFile::exists(marker(work, ".preserve")));

    const QString helper = m_helpers->manager->builder().buildHelperBundle(work).value();
    m_helpers->manager->removeHelper(work.id, false);
    QVERIFY(!QFile::exists(marker(work, ".preserve")));
    QVERIFY(!QFileInfo::exists(helper));

    // A listed bundle that is a link, to a bundle of the folder's or to anything else, was not
    // built here: it is left as it is, and so is what it points to, wherever it lies.
    const QString outside =
        m_home->makeBundle("Elsewhere/Keep.app", {{"CFBundleIdentifier", TestHome::bundleIdentifier},
                                                  {"CFBundleExecutable", "Trellin"},
                                                  {"TRGroupUUID", FolderID::canonical(work.id)}});
    const QString documents = m_home->path("Documents");
    QVERIFY(writeFile(documents + "/letter.txt", "dear"));
    const QString helpers = m_helpers->manager->builder().helpersDir();
    QVERIFY(QFile::link(outside, helpers + "/Work.app"));
    QVERIFY(QFile::link(documents, helpers + "/Stray.app"));
    const auto before = treeSnapshot(m_home->path("Elsewhere"));
    m_helpers->manager->removeHelper(work.id, false);
    m_helpers->manager->syncHelpers({});
    m_helpers->manager->launchHelper(helpers + "/Work.app", work.id);
    QCOMPARE(QDir(helpers).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System),
             (QStringList{"Stray.app", "Work.app"}));
    QCOMPARE(treeSnapshot(m_home->path("Elsewhere")), before);
    QCOMPARE(readFile(documents + "/letter.txt"), QByteArray("dear"));
    QVERIFY(m_helpers->workspace.opened.isEmpty() && m_helpers->workspace.terminated.isEmpty());
    QCOMPARE(m_home->console.lines,
             (QStringList{"[HelperManager] Left alone in " + helpers + ", not built by Trellin: Stray.app, Work.app",
                          "[HelperManager] Not launching " + helpers +
                              "/Work.app: it is not the helper Trellin built "
                              "for folder " +
                              FolderID::canonical(work.id)}));
}

// The markers are Trellin's own notes: whatever stands at a marker's path (a link to a file of the
// user's, a named pipe, a huge file) is replaced or ignored, never written through, waited on or
// read whole.
void HelperManagerTest::markersNeverReachOutsideTheStateFolder() {
    const AppFolder work = folder("Work");
    const QString letter = m_home->path("Documents/letter.txt");
    const QString diary = m_home->path("Documents/diary.txt");
    QVERIFY(writeFile(letter, "dear"));
    QVERIFY(writeFile(diary, "today"));
    QDir().mkpath(m_helpers->manager->state().helperStateDir());
    QVERIFY(QFile::link(letter, marker(work, ".launch")));
    QVERIFY(QFile::link(diary, marker(work, ".preserve")));
    m_helpers->manager->builder().buildHelperBundle(work);

    m_helpers->manager->recreateAndLaunchHelper(work);
    QCOMPARE(readFile(letter), QByteArray("dear"));
    QCOMPARE(readFile(diary), QByteArray("today"));
    QVERIFY(!QFileInfo(marker(work, ".launch")).isSymLink());
    QCOMPARE(readFile(marker(work, ".launch")), QByteArray("1800000000.5"));
    QVERIFY(!QFileInfo(marker(work, ".preserve")).isSymLink());

    const HelperState& state = m_helpers->manager->state();
    QVERIFY(QFile::remove(marker(work, ".launch")));
    QVERIFY(QFile::link(letter, marker(work, ".launch")));
    QVERIFY(!state.takeLaunchMarker(work.id));
    QVERIFY(!QFileInfo::exists(marker(work, ".launch")) && !QFileInfo(marker(work, ".launch")).isSymLink());
    QVERIFY(::mkfifo(QFile::encodeName(marker(work, ".launch")).constData(), 0600) == 0);
    QVERIFY(!state.takeLaunchMarker(work.id));
    QFile huge(marker(work, ".launch"));
    QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(qint64(3) << 30));
    huge.close();
    QVERIFY(!state.takeLaunchMarker(work.id));
    QVERIFY(!QFile::exists(marker(work, ".launch")));
    QCOMPARE(readFile(letter), QByteArray("dear"));
}

void HelperManagerTest::syncBuildsLaunchesAndRemovesStrays() {
    const AppFolder running = folder("Running");
    const AppFolder stopped = folder("Stopped");
    const AppFolder missing = folder("Missing");
    const AppFolder loose = folder("Loose", false);
    HelperBundleBuilder& builder = m_helpers->manager->builder();
    const QString runningPath = builder.buildHelperBundle(running).value();
    const QString stoppedPath = builder.buildHelperBundle(stopped).value();
    const QString loosePath = builder.buildHelperBundle(loose).value();
    const QString noPlist = builder.helpersDir() + "/Broken.app";
    QDir().mkpath(noPlist);
    QDir().mkpath(builder.helpersDir() + "/NotABundle");
    m_helpers->workspace.running = {{10, runningPath}, {11, loosePath}};

    m_helpers->manager->syncHelpers({running, stopped, missing, loose});
    QCOMPARE(m_helpers->workspace.terminated, QStringList{loosePath});
    QVERIFY(!QFileInfo::exists(loosePath));
    // A bundle that does not say it was built here is not Trellin's to delete.
    QVERIFY(QFileInfo::exists(noPlist));
    QVERIFY(QFileInfo::exists(builder.helpersDir() + "/NotABundle"));
    const QString missingPath = builder.helperBundleURL(missing.id).value();
    QCOMPARE(m_helpers->workspace.opened, (QStringList{stoppedPath + " -group " + FolderID::canonical(stopped.id),
                                                       missingPath + " -group " + FolderID::canonical(missing.id)}));
    // Each launch is stamped for Dock watching; a helper that runs is not launched again.
    QCOMPARE(m_helpers->launchLog.recentHelperLaunchDates(),
             (QHash<QUuid, double>{{stopped.id, m_clock.now()}, {missing.id, m_clock.now()}}));
    QVERIFY(QFile::exists(marker(missing, ".launch")));
    QVERIFY(!QFile::exists(marker(stopped, ".launch")));
}

void HelperManagerTest::syncRebuildsOnlyStoppedOutdatedHelpers() {
    const AppFolder running = folder("Running");
    const AppFolder stopped = folder("Stopped");
    HelperBundleBuilder& builder = m_helpers->manager->builder();
    const QString runningPath = builder.buildHelperBundle(running).value();
    const QString stoppedPath = builder.buildHelperBundle(stopped).value();
    for (const QString& helper : {runningPath, stoppedPath}) {
        // Built by an older application: an executable of its own, older than the application's.
        const QString path = helper + "/Contents/MacOS/Trellin";
        QVERIFY(QFile::remove(path) && QFile::copy(m_helpers->app.executablePath(), path));
        QFile executable(path);
        QVERIFY(executable.open(QIODevice::ReadWrite));
        QVERIFY(executable.setFileTime(QDateTime::currentDateTimeUtc().addDays(-1), QFileDevice::FileModificationTime));
        QVERIFY(writeFile(helper + "/Contents/marker", "old build"));
    }
    m_helpers->workspace.running = {{10, runningPath}};

    m_helpers->manager->syncHelpers({running, stopped});
    QVERIFY(QFile::exists(runningPath + "/Contents/marker"));
    QVERIFY(!QFile::exists(stoppedPath + "/Contents/marker"));
    QCOMPARE(m_helpers->workspace.opened, QStringList{stoppedPath + " -group " + FolderID::canonical(stopped.id)});
    QVERIFY(m_helpers->workspace.terminated.isEmpty());
}

void HelperManagerTest::dockRemovalRunsAfterDelayUnlessCancelled() {
    const AppFolder work = folder("Work");
    const AppFolder play = folder("Play");
    const QString workPath = m_helpers->manager->builder().buildHelperBundle(work).value();
    const QString playPath = m_helpers->manager->builder().buildHelperBundle(play).value();
    QVERIFY(m_helpers->dock.setValue("persistent-apps", QVariantList{dockTile(workPath), dockTile(playPath)}));

    // Out and back in within the delay: the tiles stay and the badge is hidden again.
    m_helpers->manager->scheduleDockRemoval(work, 2.0);
    m_clock.advance(1.5);
    m_helpers->manager->cancelDockRemoval(work.id);
    m_clock.advance(5);
    QCOMPARE(m_helpers->dock.copyValue("persistent-apps").toList().size(), 2);
    QVERIFY(QFileInfo::exists(workPath));
    QCOMPARE(m_home->distributedNotifications.posted.size(), 2);
    QCOMPARE(m_home->distributedNotifications.posted.at(0).userInfo,
             (QVariantMap{{"id", FolderID::canonical(work.id)}}));
    QCOMPARE(m_home->distributedNotifications.posted.at(1).userInfo,
             (QVariantMap{{"id", FolderID::canonical(work.id)}, {"hide", true}}));

    // Scheduled twice: only the second runs, 2 s after it. Another folder's removal is independent.
    m_helpers->manager->scheduleDockRemoval(work, 2.0);
    m_clock.advance(1.0);
    m_helpers->manager->scheduleDockRemoval(work, 2.0);
    m_helpers->manager->scheduleDockRemoval(play, 0.5);
    m_clock.advance(0.5);
    QVERIFY(!QFileInfo::exists(playPath));
    QCOMPARE(m_helpers->dock.copyValue("persistent-apps").toList(), QVariantList{dockTile(workPath)});
    m_clock.advance(1.4);
    QVERIFY(QFileInfo::exists(workPath));
    m_clock.advance(0.1);
    QVERIFY(!QFileInfo::exists(workPath));
    QVERIFY(m_helpers->dock.copyValue("persistent-apps").toList().isEmpty());
    QCOMPARE(m_home->distributedNotifications.posted.last().name, "com.apple.dock.prefchanged");
    QCOMPARE(m_clock.pendingCount(), 0);
}

// Put in the Dock by the user, a folder's tile is kept there, so the folder stays when its helper
// ends; a rename moves that tile to the new bundle in its place; a delete takes it out.
void HelperManagerTest::keptTileFollowsTheFolderThroughRenameAndDelete() {
    const QString mail = m_home->makeBundle("Apps/Mail.app", {{"CFBundleIdentifier", "com.example.Mail"}});
    const QVariantMap spacer{{"tile-type", "spacer-tile"}};
    QVERIFY(m_helpers->dock.setValue("persistent-apps", QVariantList{dockTile(mail), spacer}));
    const auto tiles = [this] { return m_helpers->dock.copyValue("persistent-apps").toList(); };
    const auto label = [](const QVariant& tile) {
        return tile.toMap().value("tile-data").toMap().value("file-label").toString();
    };
    const auto& posted = m_home->distributedNotifications.posted;
    AppFolder work = folder("Work");

    m_helpers->manager->putFolderInDock(work);
    const QString first = m_helpers->manager->builder().helperBundleURL(work.id).value();
    QCOMPARE(m_helpers->workspace.opened.size(), 1);
    QCOMPARE(tiles().size(), 3);
    QCOMPARE(DockFileFormat::tileFilePath(tiles().at(2).toMap()), first);
    QCOMPARE(label(tiles().at(2)), "Work");
    QCOMPARE(tiles().at(2).toMap().value("tile-data").toMap().value("bundle-identifier"), TestHome::bundleIdentifier);
    QCOMPARE(posted.last().name, "com.apple.dock.prefchanged");
    QVERIFY(m_helpers->manager->dockPreferences().isFolderPinned(work));
    // Back in before its removal ran: still one tile.
    m_helpers->manager->putFolderInDock(work);
    QCOMPARE(tiles().size(), 3);

    // The user moved the tile to the front; what else the Dock keeps in it survives a rename.
    QVariantMap kept = tiles().at(2).toMap();
    kept.insert("GUID", 4711);
    QVERIFY(m_helpers->dock.setValue("persistent-apps", QVariantList{kept, dockTile(mail), spacer}));
    m_helpers->workspace.running = {{7, first}};
    work.name = "Projects";
    m_helpers->manager->rebuildHelper(work);
    const QString renamed = m_helpers->manager->builder().helperBundleURL(work.id).value();
    QVERIFY(renamed != first && !QFileInfo::exists(first));
    QCOMPARE(m_helpers->workspace.terminated, QStringList{first});
    QCOMPARE(tiles().size(), 3);
    QCOMPARE(DockFileFormat::tileFilePath(tiles().at(0).toMap()), renamed);
    QCOMPARE(label(tiles().at(0)), "Projects");
    QCOMPARE(tiles().at(0).toMap().value("GUID"), 4711);
    QCOMPARE(tiles().mid(1), (QVariantList{dockTile(mail), spacer}));
    QCOMPARE(posted.last().name, "com.apple.dock.prefchanged");
    QVERIFY(m_helpers->manager->dockPreferences().isFolderPinned(work));

    // Rebuilt under the same name (its applications changed): the tile is right as it is.
    const QVariantList before = tiles();
    const qsizetype notices = posted.size();
    m_helpers->manager->rebuildHelper(work);
    QCOMPARE(tiles(), before);
    QCOMPARE(posted.size(), notices);

    // Deleted: its tile leaves with its helper; the other entries stay, in their order.
    m_helpers->manager->removeFolderFromDock(work);
    QCOMPARE(tiles(), (QVariantList{dockTile(mail), spacer}));
    QVERIFY(!QFileInfo::exists(renamed));
    QCOMPARE(posted.last().name, "com.apple.dock.prefchanged");

    // What is stored where the tiles belong is no list: it is not replaced by one.
    QVERIFY(m_helpers->dock.setValue("persistent-apps", "kept by hand"));
    m_helpers->manager->putFolderInDock(work);
    QCOMPARE(m_helpers->dock.copyValue("persistent-apps"), "kept by hand");
}

void HelperManagerTest::appearanceChangesAreRelayed() {
    m_home->localNotifications.post("tileAppearanceChanged", QUuid::createUuid());
    m_home->localNotifications.post("popupSettingsChanged");
    QCOMPARE(m_home->distributedNotifications.posted.size(), 2);
    QCOMPARE(m_home->distributedNotifications.posted.at(0).name, "TRTileAppearanceChanged");
    QVERIFY(m_home->distributedNotifications.posted.at(0).userInfo.isEmpty());
    QCOMPARE(m_home->distributedNotifications.posted.at(1).name, "TRPopupSettingsChanged");
}

QTEST_GUILESS_MAIN(HelperManagerTest)
#include "HelperManagerTest.moc"
