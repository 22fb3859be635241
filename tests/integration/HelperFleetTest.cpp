#include "helpers/HelperManager.h"
#include "model/FolderCodec.h"
#include "model/HelperLaunchLog.h"
#include "platform/Bundle.h"
#include "platform/LocalNotificationCenter.h"
#include "platform/linux/LinuxWorkspace.h"
#include "platform/linux/PlistPreferenceDomain.h"

#include "CapturedSystemLog.h"
#include "FakeDistributedNotifications.h"
#include "ProcessChildren.h"
#include "TestFiles.h"
#include "VirtualClock.h"

#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

namespace {

constexpr int kFolders = 100;

int openDescriptors() {
    return int(QDir("/proc/self/fd").entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot).size());
}

} // namespace

// The real helpers of a hundred folders, started by the main application's helper manager from
// the built bundle and stopped again as the folders leave the Dock.
class HelperFleetTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;

    QString helpersDir() const { return m_home.filePath("share/Trellin/Helpers"); }

private Q_SLOTS:
    void initTestCase() {
        // The helpers inherit this home, so nothing they write lands outside it.
        qputenv("HOME", m_home.path().toLocal8Bit());
        qputenv("XDG_DATA_HOME", m_home.filePath("share").toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", m_home.filePath("config").toLocal8Bit());
    }

    // A failed run must not leave its helpers behind either.
    void cleanupTestCase() {
        LinuxWorkspace workspace;
        for (const Workspace::RunningApplication& application : workspace.runningApplications()) {
            if (application.bundlePath.startsWith(helpersDir() + u'/'))
                ::kill(pid_t(application.processIdentifier), SIGKILL);
        }
    }

    void aHundredHelpersStartAndStopLeavingNothing() {
        QList<AppFolder> folders;
        for (int i = 0; i < kFolders; ++i) {
            AppFolder folder(QUuid::createUuid(), QStringLiteral("Folder %1").arg(i), QStringLiteral("folder.fill"), 0);
            folder.isInDock = true;
            folder.apps.append({QUuid::createUuid(), QStringLiteral("Trellin"), QStringLiteral("app.trellin.Trellin"),
                                AppItem::fileURLForPath(TRELLIN_BUNDLE_DIR, true)});
            folders.append(folder);
        }
        QVERIFY(writeFile(m_home.filePath("share/Trellin/folders.json"), *FolderCodec::encode(folders)));

        VirtualClock clock;
        LinuxWorkspace workspace;
        FakeDistributedNotifications distributed;
        LocalNotificationCenter local;
        CapturedSystemLog log;
        PlistPreferenceDomain dock(m_home.filePath("Library/Preferences"), QStringLiteral("com.apple.dock"));
        const Bundle app(QStringLiteral(TRELLIN_BUNDLE_DIR));
        HelperLaunchLog launchLog(clock);
        HelperManager manager({.clock = clock,
                               .scheduler = clock,
                               .workspace = workspace,
                               .distributedNotifications = distributed,
                               .localNotifications = local,
                               .systemLog = log,
                               .dockDomain = dock,
                               .mainBundle = app,
                               .launchLog = launchLog,
                               .applicationSupportDirectory = m_home.filePath("share"),
                               .dockPreferencesPath = dock.filePath(),
                               .signingTool = QStringLiteral(TRELLIN_BUNDLE_DIR "/Contents/MacOS/trellin-codesign")});
        const auto runningHelpers = [&workspace, this] {
            int count = 0;
            for (const Workspace::RunningApplication& application : workspace.runningApplications())
                count += application.bundlePath.startsWith(helpersDir() + u'/');
            return count;
        };
        const auto markers = [this] {
            return QDir(m_home.filePath("share/Trellin/HelperState"))
                .entryList({"*.launch", "*.preserve"}, QDir::Files | QDir::Hidden);
        };
        const int descriptors = openDescriptors();

        manager.syncHelpers(folders);
        // Each helper takes its launch marker as it starts.
        QTRY_COMPARE_WITH_TIMEOUT(runningHelpers(), kFolders, 60'000);
        QTRY_COMPARE_WITH_TIMEOUT(markers(), QStringList(), 60'000);
        QTRY_COMPARE(log.lines.filter("Successfully launched helper: ").size(), kFolders);

        for (const AppFolder& folder : folders)
            manager.scheduleDockRemoval(folder, 2.0);
        clock.advance(2.0);
        QTRY_COMPARE_WITH_TIMEOUT(runningHelpers(), 0, 30'000);
        QCOMPARE(QDir(helpersDir()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
        QCOMPARE(childrenOfThisProcess(), QStringList());
        QCOMPARE(openDescriptors(), descriptors);
    }
};

QTEST_GUILESS_MAIN(HelperFleetTest)
#include "HelperFleetTest.moc"
