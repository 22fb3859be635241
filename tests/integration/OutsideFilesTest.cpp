// What a user (or anything else) may leave where Trellin keeps its files: links to other folders
// and applications, named pipes, devices, files nested past all reason. The built programs start,
// answer and quit as usual, and nothing outside Trellin's own folders changes by one byte.
#include "platform/PropertyList.h"

#include "NestedDocuments.h"
#include "TestFiles.h"
#include "TrellinProcesses.h"

#include <QTest>

#include <sys/stat.h>

namespace {

const QString kWorkID = QStringLiteral("6F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C");
const QString kPlayID = QStringLiteral("0A1B2C3D-4E5F-4A6B-8C7D-9E0F1A2B3C4D");
const QString kWorkHelper = QStringLiteral("app.trellin.Trellin.Helper.G6F1C2B3A0D4E4F5A8B6C7D8E9F0A1B2C");
const QString kPlayHelper = QStringLiteral("app.trellin.Trellin.Helper.G0A1B2C3D4E5F4A6B8C7D9E0F1A2B3C4D");

QByteArray folder(const QString& id, const QByteArray& name) {
    return R"({"id":")" + id.toUtf8() + R"(","name":")" + name + R"(","isInDock":true})";
}

bool makeFifo(const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

// Resident memory of a running process, in kB.
qint64 residentKilobytes(qint64 pid) {
    for (const QByteArray& line : readFile("/proc/" + QString::number(pid) + "/status").split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

} // namespace

class OutsideFilesTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TrellinProcesses> m_run;

    QString foldersPath() const { return m_run->supportPath("folders.json"); }
    QString helpers() const { return m_run->supportPath("Helpers"); }
    QProcess* startMain(const QStringList& arguments = {}) {
        return m_run->startApplication(TRELLIN_BUNDLE_DIR, arguments);
    }
    // Another application, whose program notes in the home that it ran.
    QString makeApplication(const QString& path, const QString& identifier) {
        const QString executable = path + "/Contents/MacOS/Other";
        if (!writeFile(executable, "#!/bin/sh\necho \"$@\" > \"$HOME/other-ran\"\n") ||
            !QFile::setPermissions(executable, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner) ||
            !PropertyList::writeFileAtomically(path + "/Contents/Info.plist",
                                               QVariantMap{{"CFBundleIdentifier", identifier},
                                                           {"CFBundleExecutable", "Other"},
                                                           {"CFBundleName", "Other"}},
                                               PropertyList::Format::Xml))
            qFatal("cannot lay out %s", qPrintable(path));
        return path;
    }

private Q_SLOTS:
    void init() {
        m_run = std::make_unique<TrellinProcesses>();
        QVERIFY(m_run->isReady());
    }
    void cleanup() { m_run.reset(); }

    // The helpers folder moved elsewhere through a link, among other applications: Trellin builds
    // and runs its own helper there and leaves every other bundle as it was.
    void linkedHelpersFolderKeepsWhatItHolds() {
        const QString applications = m_run->homePath("Elsewhere/Applications");
        makeApplication(applications + "/Foo.app", "org.example.Foo");
        makeApplication(applications + "/Bar.app", "org.example.Bar");
        QVERIFY(QDir().mkpath(m_run->supportPath("")));
        QVERIFY(QFile::link(applications, helpers()));
        QVERIFY(writeFile(foldersPath(), "[" + folder(kWorkID, "Work") + "]"));
        const auto before = treeSnapshot(applications);

        QProcess* main = startMain();
        QVERIFY2(m_run->waitForService(kWorkHelper), m_run->output(main).constData());
        QVERIFY(m_run->waitForOutput(main, "[HelperManager] Left alone in " + applications.toUtf8() +
                                               ", not built by Trellin: Bar.app, Foo.app"));
        QVERIFY(m_run->terminate(main));
        QMap<QString, QByteArray> after = treeSnapshot(applications);
        QVERIFY(after.contains("Work.app/Contents/Info.plist"));
        after.removeIf([](const auto& entry) { return entry.key().startsWith("Work.app"); });
        QCOMPARE(after, before);
        QVERIFY(!QFile::exists(m_run->homePath("other-ran")));
    }

    // A link to another application at a helper's path, and a bundle of someone else's whose parts
    // are links: neither is written into, signed or run; the helpers take their places.
    void whatStandsAtAHelpersPathIsNeverWrittenOrRun() {
        const QString elsewhere = m_run->homePath("Elsewhere");
        const QString other = makeApplication(elsewhere + "/Other.app", "org.example.Other");
        QVERIFY(writeFile(elsewhere + "/seal", "someone's file"));
        // Even a property list that claims the folder and Trellin's identity, reached through a link.
        QVERIFY(PropertyList::writeFileAtomically(elsewhere + "/claim.plist",
                                                  QVariantMap{{"CFBundleIdentifier", "app.trellin.Trellin"},
                                                              {"CFBundleExecutable", "Trellin"},
                                                              {"TRGroupUUID", kPlayID}},
                                                  PropertyList::Format::Xml));
        QVERIFY(QDir().mkpath(helpers() + "/Play.app/Contents/_CodeSignature"));
        QVERIFY(QFile::link(other, helpers() + "/Work.app"));
        QVERIFY(QFile::link(elsewhere + "/claim.plist", helpers() + "/Play.app/Contents/Info.plist"));
        QVERIFY(QFile::link(elsewhere + "/seal", helpers() + "/Play.app/Contents/_CodeSignature/CodeResources"));
        QVERIFY(writeFile(foldersPath(), "[" + folder(kWorkID, "Work") + "," + folder(kPlayID, "Play") + "]"));
        const auto before = treeSnapshot(elsewhere);

        QProcess* main = startMain();
        QVERIFY2(m_run->waitForService(kWorkHelper), m_run->output(main).constData());
        QVERIFY(m_run->waitForService(kPlayHelper));
        QVERIFY(m_run->terminate(main));
        QCOMPARE(treeSnapshot(elsewhere), before);
        QVERIFY(!QFile::exists(m_run->homePath("other-ran")));
        for (const QString name : {"Work.app", "Play.app"}) {
            QVERIFY(!QFileInfo(helpers() + "/" + name).isSymLink());
            QVERIFY(!QFileInfo(helpers() + "/" + name + "/Contents/Info.plist").isSymLink());
        }
        QCOMPARE(QDir(helpers()).entryList({"Play.app.moved-aside-*"}, QDir::Dirs).size(), 1);
    }

    // Markers that are links to the user's files, or a named pipe: Trellin's notes replace them or
    // pass them by, and the application answers and quits as always.
    void markersNeverReachOutsideOrHang() {
        const QString letter = m_run->homePath("Documents/letter.txt");
        const QString diary = m_run->homePath("Documents/diary.txt");
        QVERIFY(writeFile(letter, "dear"));
        QVERIFY(writeFile(diary, "today"));
        const QString state = m_run->supportPath("HelperState/" + kWorkID);
        QVERIFY(QDir().mkpath(m_run->supportPath("HelperState")));
        QVERIFY(QFile::link(letter, state + ".launch"));
        QVERIFY(QFile::link(diary, state + ".preserve"));
        QVERIFY(makeFifo(state + ".pinned"));
        QVERIFY(writeFile(foldersPath(), "[" + folder(kWorkID, "Work") + "]"));

        QProcess* main = startMain();
        QVERIFY2(m_run->waitForService(kWorkHelper), m_run->output(main).constData());
        // The reconciliations read the pinned marker: the application still answers a second launch.
        QTest::qWait(500);
        QProcess* second = startMain();
        QVERIFY(second->waitForFinished(10000));
        QCOMPARE(second->exitCode(), 0);
        QVERIFY(m_run->terminate(main));
        QCOMPARE(readFile(letter), QByteArray("dear"));
        QCOMPARE(readFile(diary), QByteArray("today"));
        QVERIFY(!QFileInfo(state + ".launch").isSymLink());
    }

    // Named pipes, a device or files nested tens of thousands deep in place of the folders file,
    // the preferences and the Dock's file: each is unreadable, said once, and kept.
    void specialAndDeepFilesAreUnreadableNotFatal_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("named pipes") << "fifo";
        QTest::newRow("nested files") << "deep";
        QTest::newRow("a device") << "device";
    }

    void specialAndDeepFilesAreUnreadableNotFatal() {
        QFETCH(QString, kind);
        const QString preferences = m_run->homePath("Library/Preferences/app.trellin.Trellin.plist");
        const QString dock = m_run->homePath("Library/Preferences/com.apple.dock.plist");
        const QString deepInfo = helpers() + "/Deep.app/Contents/Info.plist";
        if (kind == "fifo") {
            QVERIFY(makeFifo(foldersPath()) && makeFifo(preferences) && makeFifo(dock));
        } else if (kind == "deep") {
            QVERIFY(writeFile(foldersPath(), QByteArray("[").repeated(50'000) + QByteArray("]").repeated(50'000)));
            QVERIFY(writeFile(preferences, nestedXml(50'000)));
            QVERIFY(writeFile(dock, nestedBinary(50'000)));
            QVERIFY(writeFile(deepInfo, nestedBinary(50'000)));
        } else {
            QVERIFY(QDir().mkpath(m_run->supportPath("")));
            QVERIFY(QFile::link("/dev/zero", foldersPath()));
            QVERIFY(QDir().mkpath(QFileInfo(dock).path()));
            QVERIFY(QFile::link("/dev/zero", dock));
        }
        // Everything but what Trellin keeps (its launchers included), and the caches of the
        // libraries it uses.
        const auto outsideTrellin = [&] {
            QMap<QString, QByteArray> snapshot = treeSnapshot(m_run->homePath(""));
            snapshot.removeIf([](const auto& entry) {
                // The applications folder is made for Trellin's launcher when missing.
                if (entry.key() == QLatin1String("share/applications"))
                    return true;
                for (const char* own :
                     {"share/Trellin/Helper", "share/Trellin/LauncherPictures", "share/applications/trellin",
                      "Library/Preferences/app.trellin.Trellin.plist", ".cache"})
                    if (entry.key().startsWith(QLatin1String(own)))
                        return true;
                return false;
            });
            return snapshot;
        };
        const auto before = outsideTrellin();
        const QByteArray preferencesBefore = kind == "deep" ? readFile(preferences) : QByteArray();

        QProcess* main = startMain();
        QVERIFY2(m_run->waitForService(TrellinProcesses::mainService), m_run->output(main).constData());
        QVERIFY(m_run->waitForOutput(main, "[FolderStore] Failed to load folders: "));
        QVERIFY(m_run->waitForOutput(main, "[AppDelegate] Helpers were left as they are"));
        QTest::qWait(300);
        QCOMPARE(main->state(), QProcess::Running);
        QVERIFY(residentKilobytes(main->processId()) < 200'000);
        QVERIFY(m_run->terminate(main));

        // The Dock stand-in reads the same file at its start.
        QProcess* dockProcess = m_run->start(TRELLIN_DOCK_EXE);
        QVERIFY(dockProcess->waitForStarted());
        QTest::qWait(1000);
        QCOMPARE(dockProcess->exitStatus(), QProcess::NormalExit);
        if (dockProcess->state() == QProcess::Running)
            QVERIFY(m_run->terminate(dockProcess));

        // Nothing was written over, and nothing outside Trellin's folders was touched; unreadable
        // preferences were kept aside before new ones were written.
        QCOMPARE(outsideTrellin(), before);
        if (kind == "fifo")
            QVERIFY(!QFileInfo(preferences).isFile() && QFileInfo::exists(preferences));
        if (kind == "deep") {
            const QStringList kept =
                QDir(QFileInfo(preferences).path()).entryList({"app.trellin.Trellin.plist.unreadable-*"}, QDir::Files);
            QCOMPARE(kept.size(), 1);
            QCOMPARE(readFile(QFileInfo(preferences).path() + "/" + kept.first()), preferencesBefore);
        }
    }

    // A folder name no property list can hold is read without what it cannot hold; a program
    // started as a folder's helper from a bundle not stamped for it does not run at all.
    void aProcessThatIsNoHelperNeverRunsAsOne() {
        QVERIFY(writeFile(foldersPath(), "[" + folder(kWorkID, "Wo\\u0000rk") + "]"));
        QProcess* impostor = startMain({"-group", kWorkID});
        QVERIFY(impostor->waitForFinished(10000));
        QCOMPARE(impostor->exitCode(), 1);
        QVERIFY(m_run->output(impostor).contains("[Trellin] Not started: launched as a folder's helper from "));
        QCOMPARE(readFile(foldersPath()), "[" + folder(kWorkID, "Wo\\u0000rk") + "]");
        QVERIFY(!QFile::exists(m_run->homePath("Library/Preferences/app.trellin.Trellin.plist")));

        QProcess* main = startMain();
        QVERIFY2(m_run->waitForService(kWorkHelper), m_run->output(main).constData());
        const auto info = PropertyList::readFile(helpers() + "/Work.app/Contents/Info.plist").value().root.toMap();
        QCOMPARE(info.value("CFBundleName"), QVariant("Work"));
        QCOMPARE(info.value("TRGroupUUID"), QVariant(kWorkID));
        QVERIFY(m_run->terminate(main));
    }
};

QTEST_GUILESS_MAIN(OutsideFilesTest)
#include "OutsideFilesTest.moc"
