#include "model/FolderCodec.h"
#include "model/FolderStore.h"
#include "model/HelperLaunchLog.h"
#include "platform/LocalNotificationCenter.h"
#include "platform/PropertyList.h"
#include "platform/linux/PlistUserDefaults.h"

#include "ConsoleCapture.h"
#include "RecordingHelperActions.h"
#include "TestFiles.h"
#include "VirtualClock.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QString kDomain = QStringLiteral("app.trellin.Trellin");

QList<AppFolder> manyFolders(int count) {
    QList<AppFolder> folders;
    for (int i = 0; i < count; ++i) {
        AppFolder folder(QUuid::createUuid(), QStringLiteral("Folder %1").arg(i), QStringLiteral("folder.fill"),
                         700000000.0 + i);
        for (int a = 0; a < 4; ++a)
            folder.apps.append({QUuid::createUuid(), QStringLiteral("App %1").arg(a), QStringLiteral("org.example.App"),
                                QStringLiteral("file:///Applications/App%1.app/").arg(a)});
        folders.append(folder);
    }
    return folders;
}

// A folder store of a temporary support folder, as the main application has it.
struct StoreHarness {
    explicit StoreHarness(const QString& directory)
        : store(directory, FolderStore::Services{.clock = clock,
                                                 .scheduler = clock,
                                                 .notifications = notifications,
                                                 .helpers = helpers,
                                                 .launchLog = launchLog,
                                                 .isHelperProcess = [] { return false; }}) {}

    VirtualClock clock{1'800'000'000.0};
    LocalNotificationCenter notifications;
    RecordingHelperActions helpers;
    HelperLaunchLog launchLog{clock};
    FolderStore store;
};

// A file system of `bytes` mounted for the test's life (root only); unmounted even if the test
// fails.
class SmallFileSystem {
public:
    explicit SmallFileSystem(qint64 bytes) {
        const QByteArray options = "size=" + QByteArray::number(bytes);
        m_mounted = ::geteuid() == 0 &&
                    ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0, options.constData()) == 0;
    }
    ~SmallFileSystem() {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool isMounted() const { return m_mounted; }
    QString path() const { return m_dir.path(); }

    // Writes a filler file until the file system has no room left.
    void fill() {
        QFile filler(m_dir.filePath("filler"));
        if (!filler.open(QIODevice::WriteOnly))
            return;
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
    }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

} // namespace

class StoredDataFaultTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A process killed at any moment of a save leaves the previous or the new list, never part
    // of one.
    void killedDuringSavesTheFoldersFileStaysWhole() {
        QTemporaryDir dir;
        constexpr int kFolders = 500;
        const QString path = dir.filePath("Trellin/folders.json");
        QVERIFY(writeFile(path, *FolderCodec::encode(manyFolders(kFolders))));
        for (int round = 0; round < 50; ++round) {
            int ready[2];
            QCOMPARE(::pipe(ready), 0);
            const pid_t child = ::fork();
            QVERIFY(child >= 0);
            if (child == 0) {
                ::close(ready[0]);
                StoreHarness harness(dir.path());
                harness.store.load();
                for (int save = 0;; ++save) {
                    AppFolder changed = harness.store.folders().at(save % kFolders);
                    changed.name = QStringLiteral("Renamed %1 in round %2").arg(save).arg(round);
                    harness.store.updateFolder(changed);
                    // Saving is under way: any moment from now on is a moment within the saves.
                    if (save == 0 && ::write(ready[1], "s", 1) != 1)
                        ::_exit(1);
                }
            }
            ::close(ready[1]);
            char signal = 0;
            QCOMPARE(::read(ready[0], &signal, 1), ssize_t(1));
            ::close(ready[0]);
            ::usleep(useconds_t(QRandomGenerator::global()->bounded(0, 40'000)));
            ::kill(child, SIGKILL);
            int status = 0;
            QCOMPARE(::waitpid(child, &status, 0), child);
            QVERIFY(WIFSIGNALED(status));

            QString error;
            const std::optional<QList<AppFolder>> folders = FolderCodec::decode(readFile(path), 0, &error);
            QVERIFY2(folders, qPrintable(QStringLiteral("round %1: %2").arg(round).arg(error)));
            QCOMPARE(folders->size(), kFolders);
            QVERIFY(folders->first().name.endsWith(QStringLiteral(" in round %1").arg(round)));
        }
    }

    // Two processes each setting a thousand keys of their own lose none of either's.
    void twoWritingProcessesLoseNoKey() {
        QTemporaryDir dir;
        constexpr int kKeys = 1000;
        QList<pid_t> children;
        for (const char* prefix : {"first", "second"}) {
            const pid_t child = ::fork();
            QVERIFY(child >= 0);
            if (child == 0) {
                PlistUserDefaults defaults(dir.path(), kDomain, {});
                for (int i = 0; i < kKeys; ++i)
                    defaults.setObject(QStringLiteral("%1.%2").arg(QLatin1String(prefix)).arg(i), i);
                ::_exit(0);
            }
            children.append(child);
        }
        for (const pid_t child : children) {
            int status = 0;
            QCOMPARE(::waitpid(child, &status, 0), child);
            QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
        const QVariantMap stored = PropertyList::readFile(dir.filePath(kDomain + ".plist"))->root.toMap();
        QCOMPARE(stored.size(), 2 * kKeys);
        for (int i = 0; i < kKeys; ++i) {
            QCOMPARE(stored.value(QStringLiteral("first.%1").arg(i)), QVariant(qint64(i)));
            QCOMPARE(stored.value(QStringLiteral("second.%1").arg(i)), QVariant(qint64(i)));
        }
    }

    // With the disk full a save (and the copy it keeps first) says so, with its prefix, and the previous
    // file is as it was.
    void aFullDiskFailsTheSaveAndKeepsThePreviousFile() {
        SmallFileSystem disk(256 * 1024);
        if (!disk.isMounted())
            QSKIP("mounting a small file system needs root");
        StoreHarness harness(disk.path());
        harness.store.addFolder(manyFolders(1).first());
        PlistUserDefaults defaults(disk.path(), kDomain, {});
        defaults.setObject("language", "en");
        const QString foldersPath = harness.store.saveURL();
        const QString defaultsPath = defaults.filePath();
        const QByteArray folders = readFile(foldersPath);
        const QByteArray settings = readFile(defaultsPath);
        QVERIFY(!folders.isEmpty() && !settings.isEmpty());

        disk.fill();
        ConsoleCapture console;
        for (const AppFolder& folder : manyFolders(20))
            harness.store.addFolder(folder);
        defaults.setObject("language", QString(200'000, u'x'));

        QVERIFY(!console.lines.isEmpty());
        for (const QString& line : console.lines)
            QVERIFY2(line.startsWith("[FolderStore] Failed to save folders: ") ||
                         line.startsWith("[FolderStore] Failed to keep a copy of the folders: ") ||
                         line.startsWith("[UserDefaults] Failed to save preferences: "),
                     qPrintable(line));
        QVERIFY(console.lines.filter("[UserDefaults] Failed to save preferences: ").size() == 1);
        QCOMPARE(readFile(foldersPath), folders);
        QCOMPARE(readFile(defaultsPath), settings);
        // What the store holds in memory is not lost: it is saved once there is room again.
        QCOMPARE(harness.store.folders().size(), 21);
        QVERIFY(QFile::remove(disk.path() + "/filler"));
        harness.store.save();
        QCOMPARE(FolderCodec::decode(readFile(foldersPath), 0)->size(), 21);
        // No half-written temporary file stays behind.
        QCOMPARE(QDir(disk.path() + "/Trellin").entryList(QDir::Files | QDir::Hidden), QStringList{"folders.json"});
    }
};

QTEST_GUILESS_MAIN(StoredDataFaultTest)
#include "StoredDataFaultTest.moc"
