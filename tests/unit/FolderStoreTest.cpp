// The folder store: what reaches the folders file, and which helper actions each edit asks for.
#include "model/FolderStore.h"
#include "model/FolderCodec.h"
#include "model/FolderID.h"
#include "model/FolderLaunch.h"
#include "model/HelperLaunchLog.h"
#include "platform/LocalNotificationCenter.h"

#include "ConsoleCapture.h"
#include "FakeWorkspace.h"
#include "RecordingHelperActions.h"
#include "TestFiles.h"
#include "VirtualClock.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr double kNow = 1'800'000'000.0;

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

QStringList names(const QList<AppFolder>& folders) {
    QStringList list;
    for (const AppFolder& folder : folders)
        list.append(folder.name);
    return list;
}

QStringList namesIn(const QString& path) {
    return names(FolderCodec::decode(readFile(path), 0).value_or(QList<AppFolder>{}));
}

// Takes away the right to write a folder or a file while it lives: a read-only bind mount when the
// test runs as root (whom permissions do not stop), the write bits otherwise.
class ReadOnly {
public:
    explicit ReadOnly(const QString& path)
        : m_path(QFile::encodeName(path)) {
        if (::geteuid() == 0) {
            m_mounted = ::mount(m_path.constData(), m_path.constData(), nullptr, MS_BIND, nullptr) == 0;
            if (m_mounted && ::mount(nullptr, m_path.constData(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr))
                release();
            m_works = m_mounted;
        } else {
            struct stat status {};
            m_works =
                ::stat(m_path.constData(), &status) == 0 && ::chmod(m_path.constData(), status.st_mode & 07555) == 0;
            m_mode = status.st_mode & 07777;
        }
    }
    ~ReadOnly() { release(); }
    ReadOnly(const ReadOnly&) = delete;
    ReadOnly& operator=(const ReadOnly&) = delete;

    bool works() const { return m_works; }
    void release() {
        if (m_mounted)
            ::umount2(m_path.constData(), MNT_DETACH);
        else if (m_works)
            ::chmod(m_path.constData(), m_mode);
        m_mounted = false;
        m_works = false;
    }

private:
    QByteArray m_path;
    bool m_mounted = false;
    bool m_works = false;
    mode_t m_mode = 0;
};

} // namespace

class FolderStoreTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void loadWritesStoredFileBackInCanonicalForm();
    void helperProcessNeverWritesTheFile();
    void unreadableFileIsKeptAsideAndRemovesNoHelper();
    void aFailedSaveIsRetriedUntilTheFileCatchesUp();
    void eachCauseKeepsTheFileAndClearsOnceRemoved();
    void editsDecideBetweenRedrawRebuildAndRemoval();
    void deleteFolderRemovesAtOnceAndTheHelperLater();
    void reconcileIsDebounced();
    void setFolderInDockSavesOnlyRealChanges();
    void keepsOneCopyPerEditNotPerDragStep();
    void unreadableFilesAreNeverKeptAsCopies();
    void aFileChangedFromOutsideIsReadAndKept();
    void restoreKeepsWhatItReplacesAndHelpersFollow();
    void undoOfADeleteBeforeAndAfterTheHelperWent();
    void importMergesByIdInOneSave();
    void openAllOpensEachApplicationOnce();

private:
    QTemporaryDir m_dir;
    VirtualClock m_clock{kNow};
    LocalNotificationCenter m_notifications;
    RecordingHelperActions m_helpers;
    std::unique_ptr<HelperLaunchLog> m_launchLog;
    std::unique_ptr<ConsoleCapture> m_console;
    bool m_isHelper = false;
    QStringList m_posted;
    std::unique_ptr<FolderStore> m_store;
};

void FolderStoreTest::init() {
    QDir(m_dir.filePath("Trellin")).removeRecursively();
    m_clock = VirtualClock(kNow);
    m_helpers.clear();
    m_helpers.clock = [this] { return m_clock.now(); };
    m_launchLog = std::make_unique<HelperLaunchLog>(m_clock);
    m_console = std::make_unique<ConsoleCapture>();
    m_isHelper = false;
    m_posted.clear();
    m_notifications = LocalNotificationCenter();
    m_notifications.addObserver(QStringLiteral("tileAppearanceChanged"), [this](const Notification& n) {
        m_posted.append(n.name + u' ' + FolderID::canonical(n.object.toUuid()));
    });
    m_store = std::make_unique<FolderStore>(m_dir.path(), FolderStore::Services{
                                                              .clock = m_clock,
                                                              .scheduler = m_clock,
                                                              .notifications = m_notifications,
                                                              .helpers = m_helpers,
                                                              .launchLog = *m_launchLog,
                                                              .isHelperProcess = [this] { return m_isHelper; },
                                                          });
    // Saves and helper calls in one timeline, to check their order.
    connect(m_store.get(), &FolderStore::foldersChanged, this, [this] { m_helpers.record("foldersChanged"); });
}

void FolderStoreTest::cleanup() {
    m_store.reset();
    m_console.reset();
}

void FolderStoreTest::loadWritesStoredFileBackInCanonicalForm() {
    QCOMPARE(m_store->saveURL(), m_dir.filePath("Trellin/folders.json"));
    m_store->load();
    QVERIFY(m_store->folders().isEmpty());
    QVERIFY(!QFile::exists(m_store->saveURL()));

    QVERIFY(
        writeFile(m_store->saveURL(), R"([{"id":"a1b2c3d4-e5f6-4a7b-8c9d-0e1f2a3b4c5d","name":"Work","mystery":1}])"));
    QSignalSpy changed(m_store.get(), &FolderStore::foldersChanged);
    m_store->load();
    QCOMPARE(changed.count(), 1);
    // The missing creation time became "now" (seconds since 2001), and every default is filled in.
    QCOMPARE(m_store->folders().first().createdAt, kNow - 978'307'200.0);
    QCOMPARE(readFile(m_store->saveURL()),
             R"([{"id":"A1B2C3D4-E5F6-4A7B-8C9D-0E1F2A3B4C5D","name":"Work","emoji":"folder.fill","apps":[],)"
             R"("isInDock":false,"tileStyle":{"displayFolderIcon":false,"opacity":0.64,"cornerRadius":12,)"
             R"("backgroundStyle":"light","backgroundMode":"gradient","borderEnabled":false,"borderWidth":3,)"
             R"("borderOpacity":1},"createdAt":821692800}])");
    // Written atomically: nothing but the file itself is left behind.
    QCOMPARE(QDir(m_dir.filePath("Trellin")).entryList(QDir::Files | QDir::Hidden), QStringList{"folders.json"});
    QVERIFY(m_console->lines.isEmpty());

    // Every process reloads at each appearance change: the file already written back, and the
    // list already held, make a reload that neither rewrites the file nor announces anything.
    const QDateTime longAgo(QDate(2020, 1, 1), QTime(0, 0), Qt::UTC);
    const auto age = [&] {
        QFile file(m_store->saveURL());
        QVERIFY(file.open(QIODevice::ReadWrite) && file.setFileTime(longAgo, QFileDevice::FileModificationTime));
    };
    age();
    for (int reload = 0; reload < 3; ++reload)
        m_store->load();
    QCOMPARE(changed.count(), 1);
    QCOMPARE(QFileInfo(m_store->saveURL()).lastModified(), longAgo);

    // Another list in the same form is taken and announced, but there is nothing to write.
    AppFolder renamed = m_store->folders().first();
    renamed.name = QStringLiteral("Renamed");
    QVERIFY(writeFile(m_store->saveURL(), *FolderCodec::encode({renamed})));
    age();
    m_store->load();
    QCOMPARE(changed.count(), 2);
    QCOMPARE(m_store->folders().first().name, "Renamed");
    QCOMPARE(QFileInfo(m_store->saveURL()).lastModified(), longAgo);
}

void FolderStoreTest::helperProcessNeverWritesTheFile() {
    const QByteArray stored = R"([{"id":"a1b2c3d4-e5f6-4a7b-8c9d-0e1f2a3b4c5d","name":"Work"}])";
    QVERIFY(writeFile(m_store->saveURL(), stored));
    m_isHelper = true;
    m_store->load();
    AppFolder renamed = m_store->folders().value(0);
    renamed.name = QStringLiteral("Renamed");
    m_store->updateFolder(renamed);
    m_store->addFolder(makeFolder(QStringLiteral("New")));
    m_store->deleteFolder(renamed.id, 0);
    QCOMPARE(readFile(m_store->saveURL()), stored);

    // Nor does a helper with an unreadable file: nothing is moved aside either.
    QVERIFY(writeFile(m_store->saveURL(), "{}"));
    m_store->load();
    m_store->setFolders({});
    QCOMPARE(readFile(m_store->saveURL()), QByteArray("{}"));
    QCOMPARE(QDir(m_dir.filePath("Trellin")).entryList(QDir::Files), QStringList{"folders.json"});
    // Not writing is no failure: nothing is behind, and nothing is retried.
    QVERIFY(!m_store->foldersFileBehind());
    QCOMPARE(m_clock.pendingCount(), 0);
}

void FolderStoreTest::unreadableFileIsKeptAsideAndRemovesNoHelper() {
    // One app lacks its URL: the user's folders must survive both the start-up and the first edit.
    const QByteArray damaged =
        R"([{"id":"a1b2c3d4-e5f6-4a7b-8c9d-0e1f2a3b4c5d","name":"Work","isInDock":true,"apps":[{"id":"00000000-0000-4000-8000-00000000000a","name":"A","bundleID":"a"}]}])";
    QVERIFY(writeFile(m_store->saveURL(), damaged));
    QSignalSpy changed(m_store.get(), &FolderStore::foldersChanged);
    m_store->load();
    QCOMPARE(changed.count(), 0);
    QVERIFY(m_store->folders().isEmpty());
    QVERIFY(m_store->foldersFileUnreadable());
    QCOMPARE(m_console->lines.size(), 1);
    QVERIFY(m_console->lines.first().startsWith("[FolderStore] Failed to load folders: "));

    // An empty list that does not stand for the file synchronises nothing: it would remove every helper.
    m_store->scheduleDockReconcile();
    m_clock.advance(1);
    QVERIFY(m_helpers.calls.isEmpty());

    const AppFolder added = makeFolder(QStringLiteral("New"));
    m_store->addFolder(added);
    const QString keptPath = m_store->saveURL() + ".unreadable-" +
                             QDateTime::fromSecsSinceEpoch(qint64(m_clock.now())).toString("yyyyMMdd-HHmmss");
    QCOMPARE(readFile(keptPath), damaged);
    QCOMPARE(m_console->lines.last(), "[FolderStore] Kept the unreadable folders file as " + keptPath);
    QCOMPARE(FolderCodec::decode(readFile(m_store->saveURL()), 0).value().first().id, added.id);
    QVERIFY(!m_store->foldersFileUnreadable());

    // From the first save on, the list is the truth again; later saves simply replace the file.
    m_store->scheduleDockReconcile();
    m_clock.advance(1);
    QCOMPARE(m_helpers.calls.last(), "syncHelpers 1");
    m_store->deleteFolder(added.id, 0);
    QCOMPARE(QDir(m_dir.filePath("Trellin")).entryList(QDir::Files).size(), 2);
    QCOMPARE(readFile(m_store->saveURL()), QByteArray("[]"));
}

void FolderStoreTest::aFailedSaveIsRetriedUntilTheFileCatchesUp() {
    QVERIFY(QDir().mkpath(m_store->saveURL())); // a folder where the file should be
    QSignalSpy behind(m_store.get(), &FolderStore::foldersFileBehindChanged);
    m_store->addFolder(makeFolder(QStringLiteral("Work")));
    QCOMPARE(m_store->folders().size(), 1);
    QVERIFY(m_store->foldersFileBehind());
    QVERIFY(!m_store->saveFailureReason().isEmpty());
    QCOMPARE(m_console->lines, QStringList{"[FolderStore] Failed to save folders: " + m_store->saveFailureReason()});
    QCOMPARE(behind.count(), 1);

    // The next change tries at once and says so; the retries in between say a known reason only once.
    m_store->addFolder(makeFolder(QStringLiteral("Games")));
    QCOMPARE(m_console->lines.size(), 2);
    m_clock.advance(FolderStore::saveRetryInterval * 3);
    QCOMPARE(m_console->lines.size(), 2);
    QCOMPARE(behind.count(), 1);
    QCOMPARE(m_clock.pendingCount(), 1);

    // Once the cause is gone the next retry writes every edit, and the state clears.
    QVERIFY(QDir().rmdir(m_store->saveURL()));
    m_clock.advance(FolderStore::saveRetryInterval - 0.1);
    QVERIFY(!QFile::exists(m_store->saveURL()));
    m_clock.advance(0.1);
    QCOMPARE(FolderCodec::decode(readFile(m_store->saveURL()), 0)->size(), 2);
    QVERIFY(!m_store->foldersFileBehind());
    QVERIFY(m_store->saveFailureReason().isEmpty());
    QCOMPARE(behind.count(), 2);
    QCOMPARE(m_clock.pendingCount(), 0);

    // A list that cannot be encoded is behind as well, until a change that can be saved.
    const QByteArray saved = readFile(m_store->saveURL());
    AppFolder broken = m_store->folders().first();
    broken.tileStyle.opacity = std::numeric_limits<double>::quiet_NaN();
    m_store->updateFolder(broken);
    QVERIFY(m_store->foldersFileBehind());
    QCOMPARE(m_console->lines.last(), "[FolderStore] Failed to save folders: " + m_store->saveFailureReason());
    QCOMPARE(readFile(m_store->saveURL()), saved);
    broken.tileStyle.opacity = 0.5;
    m_store->updateFolder(broken);
    QVERIFY(!m_store->foldersFileBehind());
    QCOMPARE(FolderCodec::decode(readFile(m_store->saveURL()), 0)->first().tileStyle.opacity, 0.5);
}

void FolderStoreTest::eachCauseKeepsTheFileAndClearsOnceRemoved() {
    const QString folder = m_dir.filePath("Trellin");
    const QString elsewhere = m_dir.filePath("Synced/folders.json");
    std::optional<ReadOnly> readOnly;
    struct Cause {
        const char* name;
        std::function<bool()> make;
        std::function<void()> remove;
    };
    const QList<Cause> causes{
        {"a read-only folder", [&] { return readOnly.emplace(folder).works(); }, [&] { readOnly.reset(); }},
        {"a read-only file", [&] { return readOnly.emplace(m_store->saveURL()).works(); }, [&] { readOnly.reset(); }},
        // A link into a folder that is not there (a synced folder not mounted yet).
        {"a dangling link",
         [&] { return QFile::remove(m_store->saveURL()) && QFile::link(elsewhere, m_store->saveURL()); },
         [&] { QDir().mkpath(QFileInfo(elsewhere).path()); }},
    };

    m_store->addFolder(makeFolder(QStringLiteral("Work")));
    for (const Cause& cause : causes) {
        if (!cause.make()) {
            qWarning("%s: cannot be made here, not tested", cause.name);
            continue;
        }
        const QByteArray before = readFile(m_store->saveURL());
        // An up-to-date file is read without being written again, so it is no failed save.
        m_store->load();
        QVERIFY2(!m_store->foldersFileBehind(), cause.name);

        AppFolder renamed = m_store->folders().first();
        renamed.name = QString::fromLatin1(cause.name);
        m_store->updateFolder(renamed);
        QVERIFY2(m_store->foldersFileBehind(), cause.name);
        QVERIFY2(!m_store->saveFailureReason().isEmpty(), cause.name);
        QCOMPARE(readFile(m_store->saveURL()), before);
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList{"folders.json"});
        // Reading the file back (as a tile's look change makes the main application do) loses no edit.
        m_store->load();
        QCOMPARE(m_store->folders().first().name, renamed.name);

        cause.remove();
        m_clock.advance(FolderStore::saveRetryInterval);
        QVERIFY2(!m_store->foldersFileBehind(), cause.name);
        QCOMPARE(FolderCodec::decode(readFile(m_store->saveURL()), 0)->first().name, renamed.name);
    }
    // Through the link, into the folder that came back.
    QVERIFY(QFileInfo(m_store->saveURL()).isSymLink());
    QCOMPARE(readFile(elsewhere), readFile(m_store->saveURL()));
}

void FolderStoreTest::editsDecideBetweenRedrawRebuildAndRemoval() {
    AppFolder docked = makeFolder(QStringLiteral("Docked"), true);
    const AppFolder loose = makeFolder(QStringLiteral("Loose"));
    m_store->setFolders({docked, loose});
    m_helpers.clear();

    // An unknown id changes nothing and writes nothing.
    const QByteArray before = readFile(m_store->saveURL());
    m_store->updateFolder(makeFolder(QStringLiteral("Stranger"), true));
    QVERIFY(m_helpers.calls.isEmpty());
    QCOMPARE(readFile(m_store->saveURL()), before);

    // A style change redraws (notification with the folder id) and never rebuilds; a folder outside
    // the Dock only saves.
    docked.tileStyle.backgroundStyle = TileBackground::Purple;
    m_store->updateFolder(docked);
    AppFolder renamedLoose = loose;
    renamedLoose.name = QStringLiteral("Renamed");
    m_store->updateFolder(renamedLoose);
    QCOMPARE(m_posted, QStringList{"tileAppearanceChanged " + id(docked)});
    QCOMPARE(m_helpers.calls, (QStringList{"foldersChanged", "foldersChanged"}));
    QVERIFY(m_launchLog->recentHelperLaunchDates().isEmpty());

    // Renaming, re-iconing or reordering the apps of a folder in the Dock rebuilds its helper, and
    // the launch is stamped for Dock watching.
    AppFolder renamed = docked;
    renamed.name = QStringLiteral("Docked 2");
    AppFolder reiconed = renamed;
    reiconed.emoji = QStringLiteral("star.fill");
    AppFolder reordered = reiconed;
    std::swap(reordered.apps[0], reordered.apps[1]);
    for (const AppFolder& changed : {renamed, reiconed, reordered}) {
        m_helpers.clear();
        m_clock.advance(1);
        m_store->updateFolder(changed);
        QCOMPARE(m_helpers.calls, (QStringList{"foldersChanged", "rebuildHelper " + id(docked)}));
        QCOMPARE(m_launchLog->recentHelperLaunchDates().value(docked.id), m_clock.now());
    }
    QCOMPARE(m_store->folders().first().apps.first().name, QStringLiteral("Notes"));

    // Out of the Dock: a delayed removal (a toggle wins over a content change); back in: cancelled,
    // and the folder put in the Dock again, its tile kept.
    m_helpers.clear();
    reordered.isInDock = false;
    reordered.name = QStringLiteral("Renamed too");
    m_store->updateFolder(reordered);
    reordered.isInDock = true;
    m_store->updateFolder(reordered);
    QCOMPARE(m_helpers.calls,
             (QStringList{"foldersChanged", "scheduleDockRemoval " + id(docked) + " 2", "foldersChanged",
                          "cancelDockRemoval " + id(docked), "putFolderInDock " + id(docked)}));

    // A new folder in the Dock gets its helper; one outside does not.
    m_helpers.clear();
    QSignalSpy newlyAdded(m_store.get(), &FolderStore::newlyAddedFolderIDChanged);
    const AppFolder added = makeFolder(QStringLiteral("Added"), true);
    m_store->addFolder(added);
    m_store->addFolder(makeFolder(QStringLiteral("Added loose")));
    QCOMPARE(m_helpers.calls, (QStringList{"foldersChanged", "putFolderInDock " + id(added), "foldersChanged"}));
    QCOMPARE(m_launchLog->recentHelperLaunchDates().value(added.id), m_clock.now());
    QCOMPARE(newlyAdded.count(), 2);
    QCOMPARE(FolderCodec::decode(readFile(m_store->saveURL()), 0)->size(), 4);
}

void FolderStoreTest::deleteFolderRemovesAtOnceAndTheHelperLater() {
    const AppFolder a = makeFolder(QStringLiteral("A"), true);
    const AppFolder b = makeFolder(QStringLiteral("B"));
    const AppFolder c = makeFolder(QStringLiteral("C"));
    m_store->setFolders({a, b, c});
    m_helpers.clear();

    m_store->deleteFolder(a.id, FolderStore::dockRemovalDelay);
    QCOMPARE(m_helpers.calls, QStringList{"foldersChanged"});
    const auto onDisk = FolderCodec::decode(readFile(m_store->saveURL()), 0).value();
    QCOMPARE(onDisk.size(), 2);
    QCOMPARE(onDisk.at(0).id, b.id);
    m_clock.advance(1.9);
    QCOMPARE(m_helpers.calls.size(), 1);
    m_clock.advance(0.1);
    // The folder's tiles leave the Dock with its helper, as the confirmation said.
    QCOMPARE(m_helpers.calls.last(), "removeFolderFromDock " + id(a));
    QCOMPARE(m_helpers.callTimes.last(), kNow + 2);

    // Without a delay the helper goes before the list changes; an unknown id does nothing.
    m_helpers.clear();
    m_store->deleteFolder(c.id, 0);
    m_store->deleteFolder(c.id, 0);
    QCOMPARE(m_helpers.calls, (QStringList{"removeFolderFromDock " + id(c), "foldersChanged"}));
}

void FolderStoreTest::reconcileIsDebounced() {
    m_store->setFolders({makeFolder(QStringLiteral("A"), true)});
    m_store->scheduleDockReconcile();
    m_clock.advance(0.05);
    m_store->scheduleDockReconcile();
    m_clock.advance(0.05);
    m_store->addFolder(makeFolder(QStringLiteral("B")));
    m_store->scheduleDockReconcile();
    m_helpers.clear();
    m_clock.advance(0.19);
    QVERIFY(m_helpers.calls.isEmpty());
    m_clock.advance(0.02);
    // One reconcile, 0.2 s after the last call, with the list as it is then.
    QCOMPARE(m_helpers.calls, QStringList{"syncHelpers 2"});
    QVERIFY(qAbs(m_helpers.callTimes.first() - (kNow + 0.3)) < 1e-6);

    // A store that is gone reconciles nothing.
    m_store->scheduleDockReconcile();
    m_store.reset();
    m_clock.advance(1);
    QCOMPARE(m_helpers.calls.size(), 1);
}

void FolderStoreTest::setFolderInDockSavesOnlyRealChanges() {
    const AppFolder docked = makeFolder(QStringLiteral("Docked"), true);
    const AppFolder loose = makeFolder(QStringLiteral("Loose"));
    m_store->setFolders({docked, loose});
    m_helpers.clear();
    QFile::remove(m_store->saveURL());

    m_store->setFolderInDock(loose.id, false);
    m_store->setFolderInDock(QUuid::createUuid(), true);
    QVERIFY(m_helpers.calls.isEmpty());
    QVERIFY(!QFile::exists(m_store->saveURL()));

    // Marking a folder out of the Dock is bookkeeping: it saves and asks nothing of the helpers.
    m_store->setFolderInDock(docked.id, false);
    QCOMPARE(m_helpers.calls, QStringList{"foldersChanged"});
    QVERIFY(!FolderCodec::decode(readFile(m_store->saveURL()), 0)->first().isInDock);
    QVERIFY(m_posted.isEmpty());
}

void FolderStoreTest::keepsOneCopyPerEditNotPerDragStep() {
    FolderBackups& backups = m_store->backups();
    QCOMPARE(backups.directory(), m_dir.filePath("Trellin/Backups"));
    AppFolder work = makeFolder(QStringLiteral("Work"), true);
    m_store->setFolders({work});
    // A new file has no previous version.
    QVERIFY(backups.list().isEmpty());

    m_clock.advance(60);
    work.name = QStringLiteral("Work 2");
    m_store->updateFolder(work);
    QCOMPARE(backups.list().size(), 1);
    QCOMPARE(namesIn(backups.list().first().path), QStringList{"Work"});

    // A reload that rewrites nothing keeps nothing.
    m_clock.advance(60);
    m_store->load();
    QCOMPARE(backups.list().size(), 1);

    // A slider dragged for six seconds saves sixty times: one edit, one copy, of the version before.
    const QByteArray beforeDrag = readFile(m_store->saveURL());
    for (int step = 1; step <= 60; ++step) {
        work.tileStyle.opacity = step / 100.0;
        m_store->updateFolder(work);
        m_clock.advance(0.1);
    }
    QCOMPARE(backups.list().size(), 2);
    QCOMPARE(readFile(backups.list().first().path), beforeDrag);
    QCOMPARE(FolderCodec::decode(readFile(m_store->saveURL()), 0)->first().tileStyle.opacity, 0.6);

    // Saves that keep coming less than the interval apart stay one edit; a pause ends it.
    m_clock.advance(FolderStore::keepBurstInterval - 0.2);
    work.emoji = QStringLiteral("star.fill");
    m_store->updateFolder(work);
    QCOMPARE(backups.list().size(), 2);
    const QByteArray afterBurst = readFile(m_store->saveURL());
    m_clock.advance(FolderStore::keepBurstInterval);
    work.name = QStringLiteral("Work 3");
    m_store->updateFolder(work);
    QCOMPARE(backups.list().size(), 3);
    QCOMPARE(readFile(backups.list().first().path), afterBurst);

    // A copy that cannot be kept is said once and does not stop the save.
    QVERIFY(QDir(backups.directory()).removeRecursively());
    QVERIFY(writeFile(backups.directory(), "in the way"));
    m_clock.advance(60);
    work.name = QStringLiteral("Work 4");
    m_store->updateFolder(work);
    QCOMPARE(namesIn(m_store->saveURL()), QStringList{"Work 4"});
    QVERIFY(!m_store->foldersFileBehind());
    QCOMPARE(m_console->lines.size(), 1);
    QVERIFY2(m_console->lines.first().startsWith("[FolderStore] Failed to keep a copy of the folders: "),
             qPrintable(m_console->lines.first()));
}

void FolderStoreTest::unreadableFilesAreNeverKeptAsCopies() {
    FolderBackups& backups = m_store->backups();
    QVERIFY(writeFile(m_store->saveURL(), "[{\"id\": broken"));
    m_store->load();
    m_store->addFolder(makeFolder(QStringLiteral("New")));
    // Kept aside as before, and not as a version that would push good ones out.
    QVERIFY(backups.list().isEmpty());
    QCOMPARE(QDir(m_dir.filePath("Trellin")).entryList({"folders.json.unreadable-*"}, QDir::Files).size(), 1);

    // Damaged behind this process's back after a good load: kept aside too, never overwritten unkept.
    m_clock.advance(60);
    m_store->addFolder(makeFolder(QStringLiteral("Second")));
    QCOMPARE(backups.list().size(), 1);
    QVERIFY(writeFile(m_store->saveURL(), "garbage"));
    m_clock.advance(60);
    m_store->addFolder(makeFolder(QStringLiteral("Third")));
    QCOMPARE(backups.list().size(), 1);
    QCOMPARE(namesIn(m_store->saveURL()), (QStringList{"New", "Second", "Third"}));
    const QStringList aside = QDir(m_dir.filePath("Trellin")).entryList({"folders.json.unreadable-*"}, QDir::Files);
    QCOMPARE(aside.size(), 2);
    QCOMPARE(readFile(m_dir.filePath("Trellin/" + aside.last())), QByteArray("garbage"));
}

// What this process wrote itself is not decoded again, but a file changed from outside always is,
// even one of the same length written in place at once: a load takes it, and the next save keeps
// it as a copy first.
void FolderStoreTest::aFileChangedFromOutsideIsReadAndKept() {
    m_store->setFolders({makeFolder(QStringLiteral("Work"))});
    QVERIFY(!m_store->load());
    QByteArray text = readFile(m_store->saveURL());
    text.replace("\"Work\"", "\"Jobs\"");
    QVERIFY(writeFile(m_store->saveURL(), text));
    QVERIFY(m_store->load());
    QCOMPARE(m_store->folders().first().name, QStringLiteral("Jobs"));
    m_clock.advance(60);
    AppFolder jobs = m_store->folders().first();
    jobs.name = QStringLiteral("Jobs 2");
    m_store->updateFolder(jobs);
    QCOMPARE(namesIn(m_store->backups().list().value(0).path), QStringList{"Jobs"});
    QCOMPARE(namesIn(m_store->saveURL()), QStringList{"Jobs 2"});
}

void FolderStoreTest::restoreKeepsWhatItReplacesAndHelpersFollow() {
    FolderBackups& backups = m_store->backups();
    AppFolder a = makeFolder(QStringLiteral("A"), true);
    const AppFolder b = makeFolder(QStringLiteral("B"));
    const AppFolder c = makeFolder(QStringLiteral("C"), true);
    m_store->setFolders({a, b, c});
    m_clock.advance(60);
    // The mistake: B gone, A renamed, C out of the Dock, D new in it.
    AppFolder renamedA = a;
    renamedA.name = QStringLiteral("A renamed");
    AppFolder offC = c;
    offC.isInDock = false;
    const AppFolder d = makeFolder(QStringLiteral("D"), true);
    m_store->setFolders({renamedA, offC, d});
    const FolderBackups::Backup before = backups.list().value(0);
    QCOMPARE(namesIn(before.path), (QStringList{"A", "B", "C"}));
    m_clock.advance(2); // still inside the burst of the mistake

    m_helpers.clear();
    QString error;
    QVERIFY2(m_store->restoreBackup(before.fileName, &error), qPrintable(error));
    QCOMPARE(names(m_store->folders()), (QStringList{"A", "B", "C"}));
    QCOMPARE(namesIn(m_store->saveURL()), (QStringList{"A", "B", "C"}));
    // The replaced list was kept first, even inside a burst, so the restore can be taken back.
    QCOMPARE(namesIn(backups.list().value(0).path), (QStringList{"A renamed", "C", "D"}));
    QCOMPARE(backups.list().size(), 2);
    // D's helper goes before the list changes; A is rebuilt under its old name; C is back in the Dock.
    QCOMPARE(m_helpers.calls, (QStringList{"removeFolderFromDock " + id(d), "foldersChanged", "rebuildHelper " + id(a),
                                           "cancelDockRemoval " + id(c), "putFolderInDock " + id(c)}));

    // And back again, by path this time.
    QVERIFY(m_store->restoreBackup(backups.list().value(0).path, &error));
    QCOMPARE(names(m_store->folders()), (QStringList{"A renamed", "C", "D"}));
    QCOMPARE(backups.list().size(), 3);

    // Refusals change nothing: an unknown copy, one outside the folder, a damaged one.
    const QByteArray current = readFile(m_store->saveURL());
    QVERIFY(writeFile(backups.directory() + "/folders-20200101T000000Z.json", "[{\"id\":"));
    QVERIFY(writeFile(m_dir.filePath("elsewhere.json"), current));
    m_helpers.clear();
    for (const QString& wanted : {QStringLiteral("folders-20990101T000000Z.json"), m_dir.filePath("elsewhere.json"),
                                  QStringLiteral("folders-20200101T000000Z.json")}) {
        error.clear();
        QVERIFY(!m_store->restoreBackup(wanted, &error));
        QVERIFY(!error.isEmpty());
    }
    QVERIFY2(error.contains("folders-20200101T000000Z.json is damaged"), qPrintable(error));
    QCOMPARE(readFile(m_store->saveURL()), current);
    QCOMPARE(backups.list().size(), 4);
    QVERIFY(m_helpers.calls.isEmpty());
}

void FolderStoreTest::undoOfADeleteBeforeAndAfterTheHelperWent() {
    const AppFolder x = makeFolder(QStringLiteral("X"));
    const AppFolder docked = makeFolder(QStringLiteral("Docked"), true);
    const AppFolder y = makeFolder(QStringLiteral("Y"));
    m_store->setFolders({x, docked, y});
    m_helpers.clear();

    // Undone while the helper still shows its delete badge: the removal is called off and a fresh
    // helper without the badge takes the tile.
    m_store->deleteFolder(docked.id, FolderStore::dockRemovalDelay);
    m_clock.advance(1);
    m_store->restoreDeletedFolder(docked, 1);
    m_clock.advance(10);
    QCOMPARE(m_helpers.calls, (QStringList{"foldersChanged", "foldersChanged", "putFolderInDock " + id(docked)}));
    QCOMPARE(namesIn(m_store->saveURL()), (QStringList{"X", "Docked", "Y"}));
    // Undoing twice does not make two.
    m_store->restoreDeletedFolder(docked, 0);
    QCOMPARE(m_store->folders().size(), 3);

    // Undone after the helper went: back in the Dock all the same, at a place that is clamped.
    m_helpers.clear();
    m_store->deleteFolder(docked.id, FolderStore::dockRemovalDelay);
    m_clock.advance(FolderStore::dockRemovalDelay);
    m_store->restoreDeletedFolder(docked, 99);
    QCOMPARE(m_helpers.calls, (QStringList{"foldersChanged", "removeFolderFromDock " + id(docked), "foldersChanged",
                                           "putFolderInDock " + id(docked)}));
    QCOMPARE(names(m_store->folders()), (QStringList{"X", "Y", "Docked"}));

    // A folder outside the Dock just comes back.
    m_helpers.clear();
    m_store->deleteFolder(x.id, 0);
    m_store->restoreDeletedFolder(x, -5);
    QCOMPARE(m_helpers.calls, (QStringList{"removeFolderFromDock " + id(x), "foldersChanged", "foldersChanged"}));
    QCOMPARE(names(m_store->folders()), (QStringList{"X", "Y", "Docked"}));
}

void FolderStoreTest::importMergesByIdInOneSave() {
    const AppFolder a = makeFolder(QStringLiteral("A"));
    AppFolder b = makeFolder(QStringLiteral("B"), true);
    const AppFolder gone = makeFolder(QStringLiteral("Gone"), true);
    m_store->setFolders({a, b, gone});
    m_store->deleteFolder(gone.id, FolderStore::dockRemovalDelay);
    m_helpers.clear();

    // B renamed in place, A as it is, two new ones appended in document order, one of them the
    // folder deleted a moment ago, whose pending removal must not take its new tile away.
    b.name = QStringLiteral("B renamed");
    const AppFolder n = makeFolder(QStringLiteral("N"));
    const FolderStore::ImportResult result = m_store->importFolders({b, n, a, gone});
    QCOMPARE(result.added, 2);
    QCOMPARE(result.updated, 1);
    QCOMPARE(result.unchanged, 1);
    QCOMPARE(names(m_store->folders()), (QStringList{"A", "B renamed", "N", "Gone"}));
    QCOMPARE(namesIn(m_store->saveURL()), (QStringList{"A", "B renamed", "N", "Gone"}));
    m_clock.advance(10);
    QCOMPARE(m_helpers.calls, (QStringList{"foldersChanged", "rebuildHelper " + id(b), "putFolderInDock " + id(gone)}));

    // Importing the same again changes nothing and writes nothing.
    m_helpers.clear();
    QVERIFY(QFile::remove(m_store->saveURL()));
    const FolderStore::ImportResult again = m_store->importFolders({a, b, n, gone});
    QCOMPARE(again.added + again.updated, 0);
    QCOMPARE(again.unchanged, 4);
    QVERIFY(m_helpers.calls.isEmpty());
    QVERIFY(!QFile::exists(m_store->saveURL()));
}

void FolderStoreTest::openAllOpensEachApplicationOnce() {
    FakeWorkspace workspace;
    AppFolder folder = makeFolder(QStringLiteral("Work"));
    // The same application twice (two entries), and one that is not a local file.
    folder.apps.append({QUuid::createUuid(), QStringLiteral("Calculator again"), QStringLiteral("com.apple.calculator"),
                        QStringLiteral("file:///Applications/Calculator.app/")});
    folder.apps.insert(
        1, {QUuid::createUuid(), QStringLiteral("Web"), QStringLiteral("web"), QStringLiteral("https://example.org/")});
    QList<QStringList> reports;
    FolderLaunch::launchAll(folder, workspace, [&](const QStringList& failed) { reports.append(failed); });
    QCOMPARE(workspace.opened, (QStringList{"/Applications/Calculator.app", "/Applications/Notes.app"}));
    // Told once, after every open finished.
    QVERIFY(reports.isEmpty());
    workspace.finishOpens(QStringLiteral("no such application"));
    QCOMPARE(reports, (QList<QStringList>{{"Calculator", "Web", "Notes"}}));

    reports.clear();
    folder.apps.removeAt(1);
    FolderLaunch::launchAll(folder, workspace, [&](const QStringList& failed) { reports.append(failed); });
    workspace.finishOpens();
    QCOMPARE(reports, QList<QStringList>{QStringList{}});

    // An empty folder is done at once.
    reports.clear();
    FolderLaunch::launchAll(AppFolder(QUuid::createUuid(), "Empty", "folder.fill"), workspace,
                            [&](const QStringList& failed) { reports.append(failed); });
    QCOMPARE(reports, QList<QStringList>{QStringList{}});
}

QTEST_GUILESS_MAIN(FolderStoreTest)
#include "FolderStoreTest.moc"
