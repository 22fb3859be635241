// The built application as a user starts it: one instance, the helper it stamps and starts for a
// folder in the Dock, the folders file it leaves behind, and termination by signal.
#include "model/FolderCodec.h"
#include "platform/PropertyList.h"

#include "DockTiles.h"
#include "TestFiles.h"
#include "TrellinProcesses.h"

#include <QImage>
#include <QTest>

#include <csignal>

namespace {

const QString kFolderID = QStringLiteral("6F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C");
const QString kMainService = TrellinProcesses::mainService;
const QString kHelperService = QStringLiteral("app.trellin.Trellin.Helper.G6F1C2B3A0D4E4F5A8B6C7D8E9F0A1B2C");

} // namespace

class TrellinProcessTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TrellinProcesses> m_run;

    QString supportPath(const QString& relative) const { return m_run->supportPath(relative); }
    QString foldersPath() const { return supportPath("folders.json"); }
    bool isRegistered(const QString& service) { return m_run->isRegistered(service); }
    QProcess* start(const QString& bundle) { return m_run->startApplication(bundle); }
    bool waitForService(const QString& name) { return m_run->waitForService(name); }
    void terminate(QProcess* process) { QVERIFY(m_run->terminate(process)); }

private Q_SLOTS:
    void init() {
        m_run = std::make_unique<TrellinProcesses>();
        QVERIFY(m_run->isReady());
    }

    void cleanup() { m_run.reset(); }

    void secondLaunchHandsOverAndSigtermEndsCleanly();
    void unreadableFoldersFileIsReportedAndKept();
    void folderInDockGetsItsHelperAtStartUp();
    void tileTakenOutOfTheDockLeavesWhenItsHelperEnds();
};

void TrellinProcessTest::secondLaunchHandsOverAndSigtermEndsCleanly() {
    QVERIFY(writeFile(foldersPath(), R"([{"name":"Work","id":"6f1c2b3a-0d4e-4f5a-8b6c-7d8e9f0a1b2c","x":1}])"));
    QProcess* first = start(TRELLIN_BUNDLE_DIR);
    QVERIFY2(waitForService(kMainService), first->readAll().constData());
    // Written back in canonical form with every default filled in.
    QTRY_VERIFY_WITH_TIMEOUT(readFile(foldersPath()).startsWith(R"([{"id":"6F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C")"),
                             10000);
    QVERIFY(FolderCodec::decode(readFile(foldersPath()), 0));
    QVERIFY(readFile(foldersPath()).contains(R"("tileStyle":{"displayFolderIcon":false,"opacity":0.64)"));

    QProcess* second = start(TRELLIN_BUNDLE_DIR);
    QVERIFY(second->waitForFinished(10000));
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 0);
    QCOMPARE(first->state(), QProcess::Running);

    terminate(first);
    // The bus frees the name once it has seen the connection close, a moment after the exit.
    QTRY_VERIFY_WITH_TIMEOUT(!isRegistered(kMainService), 5000);
}

void TrellinProcessTest::unreadableFoldersFileIsReportedAndKept() {
    const QByteArray damaged = R"([{"id":"6F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C","name":"Work","isInDock":"yes"}])";
    QVERIFY(writeFile(foldersPath(), damaged));
    QProcess* process = start(TRELLIN_BUNDLE_DIR);
    QVERIFY(waitForService(kMainService));
    QByteArray output;
    QTRY_VERIFY_WITH_TIMEOUT((output += process->readAll()).contains("[FolderStore] Failed to load folders: "), 10000);
    terminate(process);
    QCOMPARE(readFile(foldersPath()), damaged);
}

void TrellinProcessTest::folderInDockGetsItsHelperAtStartUp() {
    QVERIFY(
        writeFile(foldersPath(), R"([{"id":")" + kFolderID.toUtf8() + R"(","name":"Work: Q1/Q2","isInDock":true}])"));
    QProcess* main = start(TRELLIN_BUNDLE_DIR);
    const QString helper = supportPath("Helpers/Work Q1Q2.app");
    const QByteArray launched = "Successfully launched helper: " + helper.toUtf8();
    QByteArray output;
    QTRY_VERIFY_WITH_TIMEOUT((output += main->readAll()).contains(launched), 20000);
    QVERIFY(waitForService(kHelperService));
    const auto helperPid = m_run->connection().interface()->servicePid(kHelperService).value();

    // Stamped, signed, and started by the main application: the helper took its launch marker.
    const auto info = PropertyList::readFile(helper + "/Contents/Info.plist").value().root.toMap();
    QCOMPARE(info.value("TRGroupUUID"), QVariant(kFolderID));
    QCOMPARE(info.value("CFBundleName"), QVariant("Work: Q1/Q2"));
    QVERIFY(QFile::exists(helper + "/Contents/_CodeSignature/CodeResources"));
    QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(supportPath("HelperState/" + kFolderID + ".launch")), 10000);

    // Its tile is written as the bundle's icon, a 512-point PNG, half a second after launch.
    QTRY_COMPARE_WITH_TIMEOUT(QImage(helper + "/Icon\r").size(), QSize(512, 512), 10000);

    terminate(main);
    // The helper is a process of its own, keeps running until asked to quit, and holds only its own name.
    QVERIFY(::kill(pid_t(helperPid), 0) == 0);
    QTRY_VERIFY_WITH_TIMEOUT(!isRegistered(kMainService), 5000);
    // Quitting consumes the marker left for it; a helper never writes the folders file.
    const QString preserve = supportPath("HelperState/" + kFolderID + ".preserve");
    QVERIFY(writeFile(preserve, {}));
    const QByteArray folders = readFile(foldersPath());
    ::kill(pid_t(helperPid), SIGTERM);
    QTRY_VERIFY_WITH_TIMEOUT(!isRegistered(kHelperService), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(preserve), 10000);
    QCOMPARE(readFile(foldersPath()), folders);
}

void TrellinProcessTest::tileTakenOutOfTheDockLeavesWhenItsHelperEnds() {
    QVERIFY(writeFile(foldersPath(), R"([{"id":")" + kFolderID.toUtf8() + R"(","name":"Work","isInDock":true}])"));
    const QString helper = supportPath("Helpers/Work.app");
    const QString dockFile = m_run->homePath("Library/Preferences/com.apple.dock.plist");
    const auto writeDock = [&](const QVariantList& tiles) {
        // As the Dock writes its preferences: a new file renamed over the old one.
        QDir().mkpath(QFileInfo(dockFile).path());
        return PropertyList::writeFileAtomically(dockFile, QVariantMap{{"persistent-apps", tiles}},
                                                 PropertyList::Format::Binary);
    };
    const auto inDock = [&] {
        const auto folders = FolderCodec::decode(readFile(foldersPath()), 0);
        return folders && folders->size() == 1 && folders->first().isInDock;
    };
    QVERIFY(writeDock({dockTile(helper)}));

    QProcess* main = start(TRELLIN_BUNDLE_DIR);
    QVERIFY2(waitForService(kHelperService), main->readAll().constData());
    const auto helperPid = m_run->connection().interface()->servicePid(kHelperService).value();

    // Past the start-up grace the pinned folder stays; taken out of the Dock while its helper
    // runs, it stays too.
    QTest::qWait(6500);
    QVERIFY(inDock());
    QVERIFY(writeDock({}));
    QTest::qWait(500);
    QVERIFY(inDock() && QFileInfo::exists(helper));

    // The helper ends: the folder leaves the Dock state and its bundle goes, with no file event.
    ::kill(pid_t(helperPid), SIGTERM);
    QTRY_VERIFY_WITH_TIMEOUT(!isRegistered(kHelperService), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(!inDock(), 2000);
    QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(helper), 2000);
    QCOMPARE(main->state(), QProcess::Running);
    terminate(main);
}

QTEST_GUILESS_MAIN(TrellinProcessTest)
#include "TrellinProcessTest.moc"
