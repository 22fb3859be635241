// Removing and copying trees without ever going through a link.
#include "platform/FileSystem.h"

#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

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
    }
};

QTEST_GUILESS_MAIN(FileSystemTest)
#include "FileSystemTest.moc"
