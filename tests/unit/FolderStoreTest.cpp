// The folder store: what reaches the folders file, and which helper actions each edit asks for.
#include "model/FolderStore.h"
#include "model/FolderCodec.h"
#include "model/FolderID.h"
#include "platform/LocalNotificationCenter.h"

#include "ConsoleCapture.h"
#include "RecordingHelperActions.h"
#include "TestFiles.h"
#include "VirtualClock.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

AppFolder makeFolder(const QString& name, bool inDock = false) {
    AppFolder folder(QUuid::createUuid(), name, QStringLiteral("folder.fill"), 700000000.0);
    folder.isInDock = inDock;
    folder.apps = {{QUuid::createUuid(), QStringLiteral("Calculator"), QStringLiteral("com.apple.calculator"),
                    QStringLiteral("file:///Applications/Calculator.app/")},
                   {QUuid::createUuid(), QStringLiteral("Notes"), QStringLiteral("com.apple.Notes"),
                    QStringLiteral("file:///Applications/Notes.app/")}};
    return folder;
}

QString id(const AppFolder& folder) {
    return FolderID::canonical(folder.id);
}

} // namespace

class FolderStoreTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void loadWritesStoredFileBackInCanonicalForm();
    void helperProcessNeverWritesTheFile();
    void missingEmptyAndUnreadableFiles();
    void unreadableFileIsKeptAsideBeforeTheFirstSave();
    void saveFailureKeepsTheChangeInMemory();
    void updateFolderDecidesBetweenRedrawAndRebuild();
    void dockToggleSchedulesAndCancelsRemoval();
    void addFolderInDockLaunchesItsHelper();
    void deleteFolderRemovesAtOnceAndTheHelperLater();
    void reconcileIsDebounced();
    void setFolderInDockSavesOnlyRealChanges();
    void flagsNotifyOnlyOnChange();

private:
    std::unique_ptr<FolderStore> makeStore();

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<VirtualClock> m_clock;
    std::unique_ptr<LocalNotificationCenter> m_notifications;
    std::unique_ptr<RecordingHelperActions> m_helpers;
    std::unique_ptr<ConsoleCapture> m_console;
    bool m_isHelper = false;
    bool m_delegateExists = true;
    QStringList m_posted;
    std::unique_ptr<FolderStore> m_store;
};

std::unique_ptr<FolderStore> FolderStoreTest::makeStore() {
    auto store = std::make_unique<FolderStore>(
        m_dir->path(), FolderStore::Services{
                           *m_clock, *m_clock, *m_notifications, *m_helpers, [this] { return m_isHelper; },
                           [this]() -> HelperLaunchStamps* { return m_delegateExists ? m_helpers.get() : nullptr; }});
    // Saves and helper calls in one timeline, to check their order.
    connect(store.get(), &FolderStore::foldersChanged, this, [this] { m_helpers->record("foldersChanged"); });
    return store;
}

void FolderStoreTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_clock = std::make_unique<VirtualClock>(1'800'000'000.0);
    m_notifications = std::make_unique<LocalNotificationCenter>();
    m_helpers = std::make_unique<RecordingHelperActions>();
    m_helpers->clock = [this] { return m_clock->now(); };
    m_console = std::make_unique<ConsoleCapture>();
    m_isHelper = false;
    m_delegateExists = true;
    m_posted.clear();
    m_notifications->addObserver(QStringLiteral("tileAppearanceChanged"), [this](const Notification& n) {
        m_posted.append(n.name + u' ' + FolderID::canonical(n.object.toUuid()));
    });
    m_store = makeStore();
}

void FolderStoreTest::cleanup() {
    m_store.reset();
    m_console.reset();
}

void FolderStoreTest::loadWritesStoredFileBackInCanonicalForm() {
    QCOMPARE(m_store->saveURL(), m_dir->filePath("Trellin/folders.json"));
    QVERIFY(
        writeFile(m_store->saveURL(), R"([{"id":"a1b2c3d4-e5f6-4a7b-8c9d-0e1f2a3b4c5d","name":"Work","mystery":1}])"));
    QSignalSpy changed(m_store.get(), &FolderStore::foldersChanged);
    m_store->load();
    QCOMPARE(changed.count(), 1);
    QCOMPARE(m_store->folders().size(), 1);
    // The missing creation time became "now" (seconds since 2001), and every default is filled in.
    QCOMPARE(m_store->folders().first().createdAt, 1'800'000'000.0 - 978'307'200.0);
    QCOMPARE(readFile(m_store->saveURL()),
             R"([{"id":"A1B2C3D4-E5F6-4A7B-8C9D-0E1F2A3B4C5D","name":"Work","emoji":"folder.fill","apps":[],)"
             R"("isInDock":false,"tileStyle":{"displayFolderIcon":false,"opacity":0.64,"cornerRadius":12,)"
             R"("backgroundStyle":"light","backgroundMode":"gradient","borderEnabled":false,"borderWidth":3,)"
             R"("borderOpacity":1},"createdAt":821692800}])");
    // Written atomically: nothing but the file itself is left behind.
    QCOMPARE(QDir(m_dir->filePath("Trellin")).entryList(QDir::Files | QDir::Hidden), QStringList{"folders.json"});
    QVERIFY(m_console->lines.isEmpty());
}

void FolderStoreTest::helperProcessNeverWritesTheFile() {
    const QByteArray stored = R"([{"id":"a1b2c3d4-e5f6-4a7b-8c9d-0e1f2a3b4c5d","name":"Work"}])";
    QVERIFY(writeFile(m_store->saveURL(), stored));
    m_isHelper = true;
    m_store->load();
    QCOMPARE(m_store->folders().size(), 1);
    AppFolder renamed = m_store->folders().first();
    renamed.name = QStringLiteral("Renamed");
    m_store->updateFolder(renamed);
    m_store->addFolder(makeFolder(QStringLiteral("New")));
    m_store->deleteFolder(renamed.id, 0);
    m_store->save();
    QCOMPARE(readFile(m_store->saveURL()), stored);

    // Nor does a helper with an unreadable file, or with none at all.
    QVERIFY(writeFile(m_store->saveURL(), "{}"));
    m_store->load();
    m_store->setFolders({});
    QCOMPARE(readFile(m_store->saveURL()), QByteArray("{}"));
    QCOMPARE(QDir(m_dir->filePath("Trellin")).entryList(QDir::Files), QStringList{"folders.json"});
}

void FolderStoreTest::missingEmptyAndUnreadableFiles() {
    m_store->load();
    QVERIFY(m_store->folders().isEmpty());
    QVERIFY(!QFile::exists(m_store->saveURL()));
    QVERIFY(m_console->lines.isEmpty());

    const AppFolder kept = makeFolder(QStringLiteral("Kept"));
    m_store->setFolders({kept});
    QVERIFY(writeFile(m_store->saveURL(), "{}"));
    QSignalSpy changed(m_store.get(), &FolderStore::foldersChanged);
    m_store->load();
    QCOMPARE(changed.count(), 0);
    QCOMPARE(m_store->folders().size(), 1);
    QCOMPARE(m_console->lines.size(), 1);
    QVERIFY(m_console->lines.first().startsWith("[FolderStore] Failed to load folders: "));

    QVERIFY(writeFile(m_store->saveURL(), "[]"));
    m_store->load();
    QVERIFY(m_store->folders().isEmpty());
}

void FolderStoreTest::unreadableFileIsKeptAsideBeforeTheFirstSave() {
    // One app lacks its URL: the user's three folders must survive the first edit.
    const QByteArray damaged =
        R"([{"id":"a1b2c3d4-e5f6-4a7b-8c9d-0e1f2a3b4c5d","name":"Work","apps":[{"id":"00000000-0000-4000-8000-00000000000a","name":"A","bundleID":"a"}]}])";
    QVERIFY(writeFile(m_store->saveURL(), damaged));
    m_store->load();
    QVERIFY(m_store->folders().isEmpty());

    const AppFolder added = makeFolder(QStringLiteral("New"));
    m_store->addFolder(added);
    const QString keptPath =
        m_store->saveURL() + ".unreadable-" + QDateTime::fromSecsSinceEpoch(1'800'000'000).toString("yyyyMMdd-HHmmss");
    QCOMPARE(readFile(keptPath), damaged);
    QCOMPARE(m_console->lines.last(), "[FolderStore] Kept the unreadable folders file as " + keptPath);
    QCOMPARE(FolderCodec::decode(readFile(m_store->saveURL()), 0).value().first().id, added.id);

    // Only the file that failed is moved aside; later saves simply replace the good one.
    m_store->deleteFolder(added.id, 0);
    QCOMPARE(QDir(m_dir->filePath("Trellin")).entryList(QDir::Files).size(), 2);
    QCOMPARE(readFile(m_store->saveURL()), QByteArray("[]"));
}

void FolderStoreTest::saveFailureKeepsTheChangeInMemory() {
    QVERIFY(QDir().mkpath(m_store->saveURL())); // a folder where the file should be
    const AppFolder folder = makeFolder(QStringLiteral("Work"));
    m_store->addFolder(folder);
    QCOMPARE(m_store->folders().size(), 1);
    QCOMPARE(m_console->lines.size(), 1);
    QVERIFY(m_console->lines.first().startsWith("[FolderStore] Failed to save folders: "));

    QDir().rmdir(m_store->saveURL());
    AppFolder broken = folder;
    broken.tileStyle.opacity = std::numeric_limits<double>::quiet_NaN();
    m_store->updateFolder(broken);
    QVERIFY(m_console->lines.last().startsWith("[FolderStore] Failed to save folders: "));
    QVERIFY(!QFile::exists(m_store->saveURL()));
}

void FolderStoreTest::updateFolderDecidesBetweenRedrawAndRebuild() {
    const AppFolder docked = makeFolder(QStringLiteral("Docked"), true);
    const AppFolder loose = makeFolder(QStringLiteral("Loose"));
    m_store->setFolders({docked, loose});
    m_helpers->clear();

    // An unknown id changes nothing and writes nothing.
    const QByteArray before = readFile(m_store->saveURL());
    m_store->updateFolder(makeFolder(QStringLiteral("Stranger"), true));
    QVERIFY(m_helpers->calls.isEmpty());
    QCOMPARE(readFile(m_store->saveURL()), before);

    // A style change redraws (notification with the folder id) and never rebuilds.
    AppFolder styled = docked;
    styled.tileStyle.backgroundStyle = TileBackground::Purple;
    m_store->updateFolder(styled);
    QCOMPARE(m_posted, QStringList{"tileAppearanceChanged " + id(docked)});
    QCOMPARE(m_helpers->calls, QStringList{"foldersChanged"});
    QVERIFY(readFile(m_store->saveURL()).contains("purple"));

    // Renaming a folder outside the Dock only saves.
    m_helpers->clear();
    AppFolder renamedLoose = loose;
    renamedLoose.name = QStringLiteral("Renamed");
    m_store->updateFolder(renamedLoose);
    QCOMPARE(m_helpers->calls, QStringList{"foldersChanged"});

    // Renaming, re-iconing or reordering the apps of a folder in the Dock rebuilds its helper.
    const QStringList rebuild{"foldersChanged", "removeHelper " + id(docked) + " preserve=false",
                              "stamp " + id(docked) + " 1800000000.0", "recreateAndLaunchHelper " + id(docked)};
    AppFolder renamed = styled;
    renamed.name = QStringLiteral("Docked 2");
    AppFolder reiconed = renamed;
    reiconed.emoji = QStringLiteral("star.fill");
    AppFolder reordered = reiconed;
    std::swap(reordered.apps[0], reordered.apps[1]);
    for (const AppFolder& changed : {renamed, reiconed, reordered}) {
        m_helpers->clear();
        m_store->updateFolder(changed);
        QCOMPARE(m_helpers->calls, rebuild);
    }
    QCOMPARE(m_posted.size(), 1);
    QCOMPARE(m_store->folders().first().apps.first().name, QStringLiteral("Notes"));

    // Without a delegate there is nothing to stamp, and the rebuild still happens.
    m_delegateExists = false;
    m_helpers->clear();
    AppFolder emptied = reordered;
    emptied.apps.clear();
    m_store->updateFolder(emptied);
    QCOMPARE(m_helpers->calls, (QStringList{rebuild[0], rebuild[1], rebuild[3]}));
}

void FolderStoreTest::dockToggleSchedulesAndCancelsRemoval() {
    AppFolder folder = makeFolder(QStringLiteral("Work"), true);
    m_store->setFolders({folder});
    m_helpers->clear();

    folder.isInDock = false;
    folder.name = QStringLiteral("Renamed too"); // a toggle wins over a content change
    m_store->updateFolder(folder);
    QCOMPARE(m_helpers->calls, (QStringList{"foldersChanged", "scheduleDockRemoval " + id(folder) + " 2"}));

    m_helpers->clear();
    folder.isInDock = true;
    m_store->updateFolder(folder);
    QCOMPARE(m_helpers->calls,
             (QStringList{"foldersChanged", "cancelDockRemoval " + id(folder), "stamp " + id(folder) + " 1800000000.0",
                          "recreateAndLaunchHelper " + id(folder)}));
}

void FolderStoreTest::addFolderInDockLaunchesItsHelper() {
    QSignalSpy newlyAdded(m_store.get(), &FolderStore::newlyAddedFolderIDChanged);
    const AppFolder loose = makeFolder(QStringLiteral("Loose"));
    m_store->addFolder(loose);
    QCOMPARE(m_helpers->calls, QStringList{"foldersChanged"});
    QCOMPARE(m_store->newlyAddedFolderID(), std::optional<QUuid>(loose.id));

    m_helpers->clear();
    const AppFolder docked = makeFolder(QStringLiteral("Docked"), true);
    m_store->addFolder(docked);
    QCOMPARE(m_helpers->calls, (QStringList{"foldersChanged", "stamp " + id(docked) + " 1800000000.0",
                                            "recreateAndLaunchHelper " + id(docked)}));
    QCOMPARE(m_store->folders().last().id, docked.id);
    QCOMPARE(newlyAdded.count(), 2);
    QCOMPARE(FolderCodec::decode(readFile(m_store->saveURL()), 0)->size(), 2);
}

void FolderStoreTest::deleteFolderRemovesAtOnceAndTheHelperLater() {
    const AppFolder a = makeFolder(QStringLiteral("A"), true);
    const AppFolder b = makeFolder(QStringLiteral("B"));
    const AppFolder c = makeFolder(QStringLiteral("C"));
    m_store->setFolders({a, b, c});
    m_helpers->clear();

    m_store->deleteFolder(a.id, 2.0);
    QCOMPARE(m_helpers->calls, QStringList{"foldersChanged"});
    const auto onDisk = FolderCodec::decode(readFile(m_store->saveURL()), 0).value();
    QCOMPARE(onDisk.size(), 2);
    QCOMPARE(onDisk.at(0).id, b.id);
    QCOMPARE(onDisk.at(1).id, c.id);
    m_clock->advance(1.9);
    QCOMPARE(m_helpers->calls.size(), 1);
    m_clock->advance(0.1);
    QCOMPARE(m_helpers->calls.last(), "removeHelper " + id(a) + " preserve=false");
    QCOMPARE(m_helpers->callTimes.last(), 1'800'000'002.0);

    // Without a delay the helper goes before the list changes.
    m_helpers->clear();
    m_store->deleteFolder(c.id, 0);
    QCOMPARE(m_helpers->calls, (QStringList{"removeHelper " + id(c) + " preserve=false", "foldersChanged"}));

    m_helpers->clear();
    m_store->deleteFolder(c.id, 0);
    QVERIFY(m_helpers->calls.isEmpty());
}

void FolderStoreTest::reconcileIsDebounced() {
    m_store->setFolders({makeFolder(QStringLiteral("A"), true)});
    m_helpers->clear();
    m_store->scheduleDockReconcile();
    m_clock->advance(0.05);
    m_store->scheduleDockReconcile();
    m_clock->advance(0.05);
    m_store->addFolder(makeFolder(QStringLiteral("B")));
    m_store->scheduleDockReconcile();
    m_helpers->clear();
    m_clock->advance(0.19);
    QVERIFY(m_helpers->calls.isEmpty());
    m_clock->advance(0.02);
    // One reconcile, 0.2 s after the last call, with the list as it is then.
    QCOMPARE(m_helpers->calls, QStringList{"syncHelpers 2"});
    QVERIFY(qAbs(m_helpers->callTimes.first() - 1'800'000'000.3) < 1e-6);
    m_clock->advance(5);
    QCOMPARE(m_helpers->calls.size(), 1);

    // A store that is gone reconciles nothing.
    m_store->scheduleDockReconcile();
    m_store.reset();
    m_clock->advance(1);
    QCOMPARE(m_helpers->calls.size(), 1);
}

void FolderStoreTest::setFolderInDockSavesOnlyRealChanges() {
    const AppFolder docked = makeFolder(QStringLiteral("Docked"), true);
    const AppFolder loose = makeFolder(QStringLiteral("Loose"));
    m_store->setFolders({docked, loose});
    m_helpers->clear();
    QFile::remove(m_store->saveURL());

    m_store->setFolderInDock(loose.id, false);
    m_store->setFolderInDock(QUuid::createUuid(), true);
    QVERIFY(m_helpers->calls.isEmpty());
    QVERIFY(!QFile::exists(m_store->saveURL()));

    m_store->setFolderInDock(docked.id, false);
    QCOMPARE(m_helpers->calls, QStringList{"foldersChanged"});
    QVERIFY(!m_store->folders().first().isInDock);
    QVERIFY(!FolderCodec::decode(readFile(m_store->saveURL()), 0)->first().isInDock);
    QVERIFY(m_posted.isEmpty());
}

void FolderStoreTest::flagsNotifyOnlyOnChange() {
    QSignalSpy editor(m_store.get(), &FolderStore::showingFolderEditorChanged);
    m_store->setShowingFolderEditor(true);
    m_store->setShowingFolderEditor(true);
    m_store->setShowingFolderEditor(false);
    QCOMPARE(editor.count(), 2);

    // Fields without an equality notify on every assignment.
    QSignalSpy toEdit(m_store.get(), &FolderStore::folderToEditChanged);
    m_store->setFolderToEdit(std::nullopt);
    m_store->setFolderToEdit(std::nullopt);
    QCOMPARE(toEdit.count(), 2);
}

QTEST_GUILESS_MAIN(FolderStoreTest)
#include "FolderStoreTest.moc"
