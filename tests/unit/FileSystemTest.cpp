// Removing and copying trees without ever going through a link; reading what may not be a file;
// replacing files without writing through links.
#include "platform/FileSystem.h"

#include "TestFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

class FileSystemTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void removalTakesLinksNotWhatTheyPointTo() {
        QTemporaryDir dir;
        const QString keep = dir.filePath("keep");
        QVERIFY(writeFile(keep + "/deep/file", "kept"));
        const QString tree = dir.filePath("tree");
        QVERIFY(writeFile(tree + "/a/b/file", "gone"));
        QVERIFY(QFile::link(keep, tree + "/a/to-folder"));
        QVERIFY(QFile::link(keep + "/deep/file", tree + "/a/b/to-file"));
        QVERIFY(QFile::link("nowhere", tree + "/dangling"));
        QVERIFY(QFile::link(keep, dir.filePath("top-link")));

        QVERIFY(FileSystem::removeItem(tree));
        QVERIFY(!QFileInfo::exists(tree));
        QVERIFY(FileSystem::removeItem(dir.filePath("top-link")));
        QVERIFY(!QFileInfo(dir.filePath("top-link")).isSymLink());
        QCOMPARE(readFile(keep + "/deep/file"), QByteArray("kept"));

        // Nothing there is nothing left; a file is removed as itself.
        QVERIFY(FileSystem::removeItem(dir.filePath("missing")));
        QVERIFY(FileSystem::removeItem(keep + "/deep/file"));
        QVERIFY(QDir(keep + "/deep").isEmpty());
    }

    // A quitting process may still save a file into a folder while it is being removed.
    void removalTakesWhatArrivesWhileEmptying() {
        for (int round = 0; round < 5; ++round) {
            QTemporaryDir dir;
            const QString tree = dir.filePath("Work.app");
            QVERIFY(QDir().mkpath(tree));
            for (int i = 0; i < 2000; ++i)
                QVERIFY(writeFile(tree + QStringLiteral("/file-%1").arg(i), "x"));
            struct stat before {};
            QCOMPARE(::stat(QFile::encodeName(tree).constData(), &before), 0);
            std::thread latecomer([&tree, before] {
                const QByteArray folder = QFile::encodeName(tree);
                struct stat now {};
                // Waits for the first removal, then writes, as a helper saving its tile does.
                while (::stat(folder.constData(), &now) == 0 && now.st_nlink == before.st_nlink &&
                       now.st_mtim.tv_nsec == before.st_mtim.tv_nsec && now.st_mtim.tv_sec == before.st_mtim.tv_sec)
                    std::this_thread::yield();
                // Several names, so that some fall behind the reading position whatever the
                // file system's order.
                for (int i = 0; i < 20; ++i) {
                    QFile late(tree + QStringLiteral("/late-%1").arg(i));
                    if (late.open(QIODevice::WriteOnly))
                        late.write("png");
                }
            });
            const bool removed = FileSystem::removeItem(tree);
            latecomer.join();
            QVERIFY(removed);
            QVERIFY(!QFileInfo::exists(tree));
        }
    }

    void copyKeepsLinkTextAndPermissions() {
        QTemporaryDir dir;
        const QString from = dir.filePath("from");
        QVERIFY(writeFile(from + "/bin/tool", "#!/bin/sh\n"));
        QVERIFY(QFile::setPermissions(from + "/bin/tool", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QVERIFY(writeFile(from + "/.hidden", "h"));
        QVERIFY(QFile::link("bin/tool", from + "/relative"));
        QVERIFY(QFile::link(dir.filePath("elsewhere"), from + "/absolute"));

        QString error;
        QVERIFY(FileSystem::copyTree(from, dir.filePath("to/copy"), &error));
        const QString to = dir.filePath("to/copy");
        QCOMPARE(readFile(to + "/.hidden"), QByteArray("h"));
        QVERIFY(QFileInfo(to + "/bin/tool").isExecutable());
        QCOMPARE(QFileInfo(to + "/relative").symLinkTarget(), to + "/bin/tool");
        QCOMPARE(QFileInfo(to + "/absolute").symLinkTarget(), dir.filePath("elsewhere"));

        // A destination that cannot be written names what failed.
        QVERIFY(writeFile(dir.filePath("blocked"), "a file"));
        QVERIFY(!FileSystem::copyTree(from, dir.filePath("blocked"), &error));
        QVERIFY(error.contains(dir.filePath("blocked")));

        // A source that is not there is a failed copy, not an empty one; nor is an empty path the
        // working folder.
        QVERIFY(!FileSystem::copyTree(dir.filePath("missing"), dir.filePath("to/none"), &error));
        QCOMPARE(error, "cannot read " + dir.filePath("missing") + ": No such file or directory");
        const QString cwd = QDir::currentPath();
        QVERIFY(QDir::setCurrent(from));
        QVERIFY(!FileSystem::copyTree(QString(), dir.filePath("to/cwd"), &error));
        QDir::setCurrent(cwd);
        QVERIFY(QDir(dir.filePath("to/cwd")).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
    }

    // Whatever stands at a path, reading it returns at once, within its limit, and says why not.
    void readingTakesOnlySmallRegularFiles() {
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath("plain"), "12345"));
        QCOMPARE(FileSystem::readFile(dir.filePath("plain"), 5).bytes, std::optional<QByteArray>("12345"));
        const FileSystem::ReadResult large = FileSystem::readFile(dir.filePath("plain"), 4);
        QVERIFY(!large.bytes);
        QCOMPARE(large.errorNumber, EFBIG);
        QCOMPARE(FileSystem::readFile(dir.filePath("missing"), 10).errorNumber, ENOENT);

        QVERIFY(::mkfifo(QFile::encodeName(dir.filePath("fifo")).constData(), 0600) == 0);
        QVERIFY(QFile::link("/dev/zero", dir.filePath("zero")));
        QVERIFY(QFile::link(dir.filePath("plain"), dir.filePath("link")));
        QElapsedTimer timer;
        timer.start();
        for (const char* name : {"fifo", "zero"}) {
            const FileSystem::ReadResult special = FileSystem::readFile(dir.filePath(name), 1 << 20);
            QVERIFY2(!special.bytes, name);
            QVERIFY2(special.error.contains("not a regular file"), qPrintable(special.error));
        }
        QVERIFY(!FileSystem::readFile(dir.path(), 10).bytes);
        QVERIFY(timer.elapsed() < 2000);

        // A link is followed only where the caller allows it.
        QCOMPARE(FileSystem::readFile(dir.filePath("link"), 10).bytes, std::optional<QByteArray>("12345"));
        QCOMPARE(FileSystem::readFile(dir.filePath("link"), 10, FileSystem::Links::Refuse).errorNumber, ELOOP);

        // A file that claims a size it does not have (as /proc's do) is still cut at the limit.
        const FileSystem::ReadResult status = FileSystem::readFile("/proc/self/status", 16);
        QVERIFY(!status.bytes);
        QCOMPARE(status.errorNumber, EFBIG);
    }

    void replacingNeverWritesThroughALink() {
        QTemporaryDir dir;
        const QString outside = dir.filePath("outside");
        QVERIFY(writeFile(outside, "keep me"));
        const QString marker = dir.filePath("marker");
        QVERIFY(QFile::link(outside, marker));

        QVERIFY(FileSystem::writeFileAtomically(marker, "new"));
        QVERIFY(!QFileInfo(marker).isSymLink());
        QCOMPARE(readFile(marker), QByteArray("new"));
        QCOMPARE(readFile(outside), QByteArray("keep me"));

        // A user's own file kept elsewhere through a link stays there, and keeps its permissions.
        const QString users = dir.filePath("users-link");
        QVERIFY(QFile::link(outside, users));
        QVERIFY(QFile::setPermissions(outside, QFile::ReadOwner | QFile::WriteOwner));
        QVERIFY(FileSystem::writeFileAtomically(users, "changed", nullptr, FileSystem::Links::Follow));
        QVERIFY(QFileInfo(users).isSymLink());
        QCOMPARE(readFile(outside), QByteArray("changed"));
        QCOMPARE(QFile::permissions(outside),
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);

        // Failures give the system's reason, and where a link led.
        QVERIFY(QFile::link(dir.filePath("gone/folders.json"), dir.filePath("dangling")));
        QString error;
        QVERIFY(!FileSystem::writeFileAtomically(dir.filePath("dangling"), "x", &error, FileSystem::Links::Follow));
        QCOMPARE(error,
                 FileSystem::errorText(ENOENT) + " (the link leads to " + dir.filePath("gone/folders.json") + ")");
        QVERIFY(!FileSystem::writeFileAtomically(dir.path(), "x", &error));
        QCOMPARE(error, FileSystem::errorText(EISDIR));
        if (::geteuid() != 0) {
            QVERIFY(QFile::setPermissions(outside, QFile::ReadOwner));
            QVERIFY(!FileSystem::writeFileAtomically(outside, "x", &error));
            QCOMPARE(error, FileSystem::errorText(EACCES));
            QCOMPARE(readFile(outside), QByteArray("changed"));
        }
        // Nothing is left beside the files, whatever happened.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 4);
    }
};

QTEST_GUILESS_MAIN(FileSystemTest)
#include "FileSystemTest.moc"
