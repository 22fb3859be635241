// Real inotify on temporary folders, seen through the vnode events the watchers expect.
#include "platform/linux/InotifyFileEvents.h"

#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/resource.h>

namespace {

constexpr FileEvents::Events kAll =
    FileEvents::Write | FileEvents::Delete | FileEvents::Rename | FileEvents::Attrib | FileEvents::Extend;

// What one watch reported, call by call.
struct Reports {
    QList<FileEvents::Events> calls;
    FileEvents::Handler handler() {
        return [this](FileEvents::Events fired) { calls.append(fired); };
    }
    // Everything reported since the last look, once the event loop has delivered it.
    FileEvents::Events take() {
        QTest::qWait(30);
        FileEvents::Events all;
        for (FileEvents::Events fired : std::as_const(calls))
            all |= fired;
        calls.clear();
        return all;
    }
};

// The lowest descriptor numbers not in use, in order.
QList<int> freeDescriptors(int count) {
    QList<int> free;
    for (int fd = 0; free.size() < count; ++fd) {
        if (::fcntl(fd, F_GETFD) < 0 && errno == EBADF)
            free.append(fd);
    }
    return free;
}

int openDescriptors() {
    return int(QDir("/proc/self/fd").entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size());
}

} // namespace

class InotifyFileEventsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fileWritesGrowthAndAttributes() {
        QTemporaryDir dir;
        const QString path = dir.filePath("com.apple.dock.plist");
        QVERIFY(writeFile(path, "one"));
        InotifyFileEvents events;
        Reports reports;
        const auto watch = events.watch(path, kAll, reports.handler());
        QVERIFY(watch);

        QFile file(path);
        QVERIFY(file.open(QIODevice::Append) && file.write("more") == 4);
        file.close();
        QCOMPARE(reports.take(), FileEvents::Write | FileEvents::Extend);
        QVERIFY(writeFile(path, "x")); // truncated and written in place: no growth
        QCOMPARE(reports.take() & ~FileEvents::Attrib, FileEvents::Events(FileEvents::Write));
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
        QCOMPARE(reports.take(), FileEvents::Events(FileEvents::Attrib));
    }

    void replacedDeletedOrMovedFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath("com.apple.dock.plist");
        QVERIFY(writeFile(path, "old"));
        InotifyFileEvents events;

        // The atomic replace: a new file renamed over the watched one deletes the old object.
        Reports replaced;
        auto watch = events.watch(path, kAll, replaced.handler());
        QVERIFY(writeFile(path + ".new", "new") && std::rename(qPrintable(path + ".new"), qPrintable(path)) == 0);
        QCOMPARE(replaced.take() & (FileEvents::Delete | FileEvents::Rename), FileEvents::Events(FileEvents::Delete));
        // The old watch sees nothing of the new file; a new watch does.
        QVERIFY(writeFile(path, "newer"));
        QCOMPARE(replaced.take() & FileEvents::Write, FileEvents::Events());
        Reports renewed;
        watch = events.watch(path, kAll, renewed.handler());
        QVERIFY(writeFile(path, "newest"));
        QVERIFY(renewed.take() & FileEvents::Write);

        // Deleted: reported; nothing to watch until it is made again.
        QVERIFY(QFile::remove(path));
        QVERIFY(renewed.take() & FileEvents::Delete);
        QVERIFY(!events.watch(path, kAll, renewed.handler()));
        QVERIFY(writeFile(path, "again"));
        watch = events.watch(path, kAll, renewed.handler());
        QVERIFY(watch);

        // Moved away: a rename, and the watch follows the object to its new name.
        QVERIFY(QFile::rename(path, dir.filePath("moved.plist")));
        QCOMPARE(renewed.take(), FileEvents::Events(FileEvents::Rename));
        QFile moved(dir.filePath("moved.plist"));
        QVERIFY(moved.open(QIODevice::Append) && moved.write("!") == 1);
        moved.close();
        QVERIFY(renewed.take() & FileEvents::Write);
    }

    void directoryEntriesCountAsWrites() {
        QTemporaryDir dir;
        const QString folder = dir.filePath("HelperState");
        QVERIFY(QDir().mkpath(folder) && writeFile(folder + "/A.pinned", "1"));
        InotifyFileEvents events;
        Reports reports;
        const auto watch = events.watch(folder, kAll, reports.handler());
        QVERIFY(watch);

        // A marker's contents changing is not news to its folder; its entries changing are.
        QVERIFY(writeFile(folder + "/A.pinned", "0"));
        QCOMPARE(reports.take(), FileEvents::Events());
        QVERIFY(writeFile(folder + "/B.launch", "1"));
        QCOMPARE(reports.take(), FileEvents::Events(FileEvents::Write));
        QVERIFY(QFile::rename(folder + "/B.launch", folder + "/B.preserve"));
        QCOMPARE(reports.take(), FileEvents::Events(FileEvents::Write));
        QVERIFY(QDir().mkdir(folder + "/sub") && QDir().rmdir(folder + "/sub"));
        QCOMPARE(reports.take(), FileEvents::Events(FileEvents::Write));
        QVERIFY(QFile::remove(folder + "/A.pinned") && QFile::remove(folder + "/B.preserve"));
        QCOMPARE(reports.take(), FileEvents::Events(FileEvents::Write));

        QVERIFY(QDir().rmdir(folder));
        QVERIFY(reports.take() & FileEvents::Delete);
    }

    // What cannot be opened is told apart from a system out of watches, whose object is fine.
    void failuresSayWhy() {
        QTemporaryDir dir;
        const QString path = dir.filePath("com.apple.dock.plist");
        QVERIFY(writeFile(path, "a"));
        InotifyFileEvents events;
        Reports reports;
        FileEvents::Failure failure = FileEvents::Failure::Exhausted;
        QVERIFY(!events.watch(dir.filePath("missing"), kAll, reports.handler(), &failure));
        QCOMPARE(failure, FileEvents::Failure::CannotOpen);

        // This process's own descriptor limit, lowered for one call: first no room for the inotify
        // instance (the object's descriptor takes the last one), then none for the object either.
        struct rlimit limit {};
        QVERIFY(::getrlimit(RLIMIT_NOFILE, &limit) == 0);
        const rlim_t saved = limit.rlim_cur;
        const int before = openDescriptors();
        for (const int room : {1, 0}) {
            failure = FileEvents::Failure::CannotOpen;
            limit.rlim_cur = rlim_t(freeDescriptors(room + 1).last());
            QVERIFY(::setrlimit(RLIMIT_NOFILE, &limit) == 0);
            const bool made = events.watch(path, kAll, reports.handler(), &failure) != nullptr;
            limit.rlim_cur = saved;
            QVERIFY(::setrlimit(RLIMIT_NOFILE, &limit) == 0);
            QVERIFY(!made);
            QCOMPARE(failure, FileEvents::Failure::Exhausted);
            QCOMPARE(openDescriptors(), before);
        }
        QVERIFY(events.watch(path, kAll, reports.handler(), &failure));
    }

    void maskAndDroppedWatches() {
        QTemporaryDir dir;
        const QString path = dir.filePath("file");
        QVERIFY(writeFile(path, "a"));
        InotifyFileEvents events;
        Reports deletesOnly;
        const int before = openDescriptors();
        auto watch = events.watch(path, FileEvents::Delete, deletesOnly.handler());
        QVERIFY(writeFile(path, "bb"));
        QVERIFY(deletesOnly.calls.isEmpty() && deletesOnly.take() == FileEvents::Events());

        // Dropped: its descriptors are closed and nothing more is reported.
        watch.reset();
        QCOMPARE(openDescriptors(), before);
        QVERIFY(QFile::remove(path));
        QCOMPARE(deletesOnly.take(), FileEvents::Events());

        // A handler may drop its own watch.
        QVERIFY(writeFile(path, "c"));
        watch = events.watch(path, kAll, [&watch](FileEvents::Events) { watch.reset(); });
        QVERIFY(writeFile(path, "d"));
        QTRY_VERIFY(!watch);
    }
};

QTEST_GUILESS_MAIN(InotifyFileEventsTest)
#include "InotifyFileEventsTest.moc"
