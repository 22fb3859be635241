// Folders in a user's own dock: putting one in writes its launcher and pins it, taking it out
// unpins it and takes the launcher away, the pictures follow the tiles' look, and Dock watching
// reads the dock's pins: an unpinned folder leaves the Dock state even while its helper runs, and
// a dock that does not run yet has said nothing.
#include "app/DockHostSwitch.h"
#include "app/DockStateReconciler.h"
#include "helpers/HostDockTiles.h"
#include "model/DockHeight.h"
#include "model/FolderID.h"
#include "model/FolderStore.h"
#include "platform/DockHostIds.h"
#include "platform/FolderLaunchers.h"
#include "platform/InstanceEndings.h"
#include "platform/linux/XdgFolderLaunchers.h"

#include "ConsoleCapture.h"
#include "FakeDockHost.h"
#include "FakeFileEvents.h"
#include "TestFiles.h"
#include "TestHelperManager.h"
#include "TestHome.h"
#include "VirtualClock.h"

#include <QDir>
#include <QSettings>
#include <QTest>

namespace {

const QUuid kWork = *FolderID::parse(QStringLiteral("6F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C"));
const QUuid kPlay = *FolderID::parse(QStringLiteral("1F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C"));
constexpr double kStart = 1'800'000'000.0;

struct NoHelperEndings final : InstanceEndings {
    void observeHelperEndings(std::function<void()>) override {}
};

} // namespace

class HostedDockTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void aFolderInTheDockIsItsPinnedLauncher();
    void aLauncherThatCannotBeWrittenIsNotPinned();
    void picturesFollowTheTilesLookOnceItRests();
    void anUnpinnedFolderLeavesTheDockAtOnce();
    void aDockThatDoesNotRunYetIsWaitedFor();
    void anotherDockChosenTakesTheFoldersAndRestarts();

private:
    QString entryFile(const QUuid& id) const { return m_entries + u'/' + FolderLaunchers::entryId(id); }
    QString entryValue(const QUuid& id, const QString& key) const {
        return QSettings(entryFile(id), QSettings::IniFormat).value(QStringLiteral("Desktop Entry/") + key).toString();
    }
    QString helperOf(const QUuid& id) const {
        return m_helpers->manager->builder().helperBundleURL(id).value_or(QString());
    }
    AppFolder folder(const QUuid& id) const {
        for (const AppFolder& f : m_store->folders())
            if (f.id == id)
                return f;
        return {};
    }
    void startMonitoring() {
        m_reconciler = std::make_unique<DockStateReconciler>(DockStateReconciler::Services{
            .clock = m_clock,
            .scheduler = m_clock,
            .fileEvents = m_fileEvents,
            .helperEndings = m_endings,
            .store = *m_store,
            .helpers = *m_helpers->manager,
            .launchLog = m_helpers->launchLog,
            .dockHeight = m_dockHeight,
            .isFromDock = [](const Notification&) { return false; },
            .host = &m_host,
        });
        m_reconciler->startDockStateMonitoring();
    }

    std::unique_ptr<TestHome> m_home;
    VirtualClock m_clock{kStart};
    FakeFileEvents m_fileEvents;
    NoHelperEndings m_endings;
    DockHeight m_dockHeight;
    FakeDockHost m_host;
    QString m_entries;
    std::unique_ptr<XdgFolderLaunchers> m_launchers;
    QColor m_tileColour = Qt::darkCyan;
    std::unique_ptr<HostDockTiles> m_tiles;
    std::unique_ptr<TestHelperManager> m_helpers;
    std::unique_ptr<FolderStore> m_store;
    std::unique_ptr<DockStateReconciler> m_reconciler;
};

void HostedDockTest::init() {
    m_home = std::make_unique<TestHome>();
    m_clock = VirtualClock(kStart);
    m_host.running = true;
    m_host.pins = {QStringLiteral("org.gnome.Nautilus.desktop")};
    m_entries = m_home->path(QStringLiteral("share/applications"));
    m_launchers = std::make_unique<XdgFolderLaunchers>(m_entries, m_home->path(QStringLiteral("share/Trellin/Pics")));
    m_tiles = std::make_unique<HostDockTiles>(HostDockTiles::Services{
        .host = m_host,
        .launchers = *m_launchers,
        .scheduler = m_clock,
        .notifications = m_home->localNotifications,
        .helperBundlePath = [this](const QUuid& id) { return m_helpers->manager->builder().helperBundleURL(id); },
        .picture =
            [this](const AppFolder&) {
                QImage image(512, 512, QImage::Format_ARGB32_Premultiplied);
                image.fill(m_tileColour);
                return image;
            },
        .folders = [this] { return m_store->folders(); },
    });
    m_helpers = std::make_unique<TestHelperManager>(*m_home, m_clock, m_tiles.get());
    m_store =
        std::make_unique<FolderStore>(m_home->applicationSupport(), FolderStore::Services{
                                                                        .clock = m_clock,
                                                                        .scheduler = m_clock,
                                                                        .notifications = m_home->localNotifications,
                                                                        .helpers = *m_helpers->manager,
                                                                        .launchLog = m_helpers->launchLog,
                                                                        .isHelperProcess = [] { return false; },
                                                                    });
    const auto record = [](const QUuid& id, const char* name, bool inDock) {
        return QStringLiteral(R"({"id":"%1","name":"%2","isInDock":%3})")
            .arg(FolderID::canonical(id), name, inDock ? "true" : "false");
    };
    QVERIFY(writeFile(m_home->foldersFile(),
                      ('[' + record(kWork, "Work", true) + ',' + record(kPlay, "Play", true) + ']').toUtf8()));
    m_store->load();
    m_helpers->manager->syncHelpers(m_store->folders());
    m_clock.advance(3); // the launches above are no longer recent
}

void HostedDockTest::cleanup() {
    m_reconciler.reset();
    m_store.reset();
    m_helpers.reset();
    m_tiles.reset();
    m_launchers.reset();
    m_home.reset();
}

void HostedDockTest::aFolderInTheDockIsItsPinnedLauncher() {
    // Both folders were in the Dock before this dock stood for it: their launchers are written and
    // pinned at start, after the user's own pins.
    const QStringList pinned{"org.gnome.Nautilus.desktop", FolderLaunchers::entryId(kWork),
                             FolderLaunchers::entryId(kPlay)};
    QCOMPARE(m_host.pins, pinned);
    QCOMPARE(entryValue(kWork, "Name"), QStringLiteral("Work"));
    // Started as a dock click starts it: the helper's own program, without arguments.
    QCOMPARE(entryValue(kWork, "Exec"), helperOf(kWork) + QStringLiteral("/Contents/MacOS/Trellin"));
    QCOMPARE(entryValue(kWork, "StartupWMClass"), FolderLaunchers::windowClass(kWork));
    const QString picture = entryValue(kWork, "Icon");
    QVERIFY(QFileInfo(picture).isAbsolute() && QImage(picture).width() >= 256);
    QCOMPARE(m_tiles->isFolderKept(folder(kWork)), std::optional<bool>(true));

    // A launcher that stands already was pinned before: one the user unpinned since is not
    // pinned again behind their back.
    m_host.pins.removeAll(FolderLaunchers::entryId(kPlay));
    m_helpers->manager->syncHelpers(m_store->folders());
    QCOMPARE(m_tiles->isFolderKept(folder(kPlay)), std::optional<bool>(false));

    // Pinned once, however often it is put in.
    m_helpers->manager->putFolderInDock(folder(kWork));
    QCOMPARE(m_host.pins.count(FolderLaunchers::entryId(kWork)), 1);

    // Out of the Dock: unpinned, its launcher and picture gone, the user's own pins kept.
    m_helpers->manager->removeFolderFromDock(folder(kWork));
    QCOMPARE(m_host.pins, QStringList{"org.gnome.Nautilus.desktop"});
    // While the dock does not run, a pin waits for it.
    m_host.running = false;
    m_helpers->manager->putFolderInDock(folder(kWork));
    m_host.running = true;
    QCOMPARE(m_host.pins, QStringList{"org.gnome.Nautilus.desktop"});
    m_host.say();
    QCOMPARE(m_host.pins, (QStringList{"org.gnome.Nautilus.desktop", FolderLaunchers::entryId(kWork)}));
    m_helpers->manager->removeFolderFromDock(folder(kWork));
    QVERIFY(!QFileInfo::exists(entryFile(kWork)) && !QFileInfo::exists(picture));
    QVERIFY(QFileInfo::exists(entryFile(kPlay)));
}

void HostedDockTest::aLauncherThatCannotBeWrittenIsNotPinned() {
    m_helpers->manager->removeFolderFromDock(folder(kWork));
    m_host.pins = {QStringLiteral("org.gnome.Nautilus.desktop")};
    // The applications folder is a file: no launcher can be written there.
    QDir(m_entries).removeRecursively();
    QVERIFY(writeFile(m_entries, "not a folder"));
    ConsoleCapture console;
    m_helpers->manager->putFolderInDock(folder(kWork));
    QCOMPARE(m_host.pins, QStringList{"org.gnome.Nautilus.desktop"});
    QVERIFY(console.lines.join(QLatin1Char(10))
                .contains(QStringLiteral("[DockHost] Could not write the launcher of folder %1 in Fake Dock: ")
                              .arg(FolderID::canonical(kWork))));
}

void HostedDockTest::picturesFollowTheTilesLookOnceItRests() {
    const QString first = entryValue(kWork, "Icon");
    m_tileColour = Qt::darkRed;
    m_home->localNotifications.post(QStringLiteral("tileAppearanceChanged"));
    m_clock.advance(0.3);
    m_home->localNotifications.post(QStringLiteral("themeChanged")); // still being changed
    m_clock.advance(0.4);
    QCOMPARE(entryValue(kWork, "Icon"), first);
    m_clock.advance(0.1);
    // A new file name, as docks keep a picture by its path; the old picture goes.
    const QString second = entryValue(kWork, "Icon");
    QVERIFY(second != first && QFileInfo::exists(second) && !QFileInfo::exists(first));
    QCOMPARE(QImage(second).pixelColor(10, 10), QColor(Qt::darkRed));
    // The file name stays when the folder is renamed: the pin names it.
    AppFolder renamed = folder(kWork);
    renamed.name = QStringLiteral("Office");
    m_helpers->manager->rebuildHelper(renamed);
    QCOMPARE(entryValue(kWork, "Name"), QStringLiteral("Office"));
    QCOMPARE(entryValue(kWork, "Exec"), helperOf(kWork) + QStringLiteral("/Contents/MacOS/Trellin"));
}

void HostedDockTest::anUnpinnedFolderLeavesTheDockAtOnce() {
    startMonitoring();
    // Both helpers run: with a user's dock that keeps no folder whose pin is gone.
    m_helpers->workspace.running = {{4242, helperOf(kWork)}, {4243, helperOf(kPlay)}};
    m_clock.advance(6.2);
    QVERIFY(folder(kWork).isInDock && folder(kPlay).isInDock);

    m_host.pins.removeAll(FolderLaunchers::entryId(kPlay));
    m_host.say();
    m_clock.advance(0.02);
    QVERIFY(folder(kPlay).isInDock);
    m_clock.advance(0.02);
    QVERIFY(!folder(kPlay).isInDock && folder(kWork).isInDock);
    QVERIFY(helperOf(kPlay).isEmpty());
    QVERIFY(!QFileInfo::exists(entryFile(kPlay)) && QFileInfo::exists(entryFile(kWork)));
}

void HostedDockTest::aDockThatDoesNotRunYetIsWaitedFor() {
    m_host.running = false;
    m_host.pins = {};
    startMonitoring();
    m_clock.advance(10);
    QVERIFY(folder(kWork).isInDock && folder(kPlay).isInDock);

    // It starts with Work pinned and Play unpinned meanwhile: Play leaves.
    m_host.running = true;
    m_host.pins << FolderLaunchers::entryId(kWork);
    m_host.say();
    m_clock.advance(0.05);
    QVERIFY(folder(kWork).isInDock && !folder(kPlay).isInDock);
    QCOMPARE(m_reconciler->dockPinnedStateByFolderID(), (QHash<QUuid, bool>{{kWork, true}}));

    // It goes away again: still nothing is read as unpinned.
    m_host.running = false;
    m_host.say();
    m_clock.advance(1);
    QVERIFY(folder(kWork).isInDock);
}

void HostedDockTest::anotherDockChosenTakesTheFoldersAndRestarts() {
    QString chosen = QStringLiteral("fake");
    int restarts = 0;
    DockHostSwitch dockSwitch({
        .helpers = *m_helpers->manager,
        .store = *m_store,
        .currentId = m_host.id(),
        .chosenId = [&chosen] { return chosen; },
        .restart = [&restarts] { ++restarts; },
    });
    // The same dock, chosen by name instead of automatically: nothing moves.
    dockSwitch.settingChanged();
    QCOMPARE(restarts, 0);
    QCOMPARE(m_host.pins.size(), 3);

    // The Linux Dock: the folders leave the user's dock, its launchers go, and the Linux Dock's
    // preferences keep both helpers; then everything starts again on it.
    chosen = DockHostIds::trellinDock;
    dockSwitch.settingChanged();
    QCOMPARE(restarts, 1);
    QCOMPARE(m_host.pins, QStringList{"org.gnome.Nautilus.desktop"});
    QVERIFY(!QFileInfo::exists(entryFile(kWork)) && !QFileInfo::exists(entryFile(kPlay)));
    QVERIFY(m_helpers->manager->dockPreferences().isFolderPinned(folder(kWork)));
    QVERIFY(m_helpers->manager->dockPreferences().isFolderPinned(folder(kPlay)));
    QVERIFY(folder(kWork).isInDock && folder(kPlay).isInDock);
}

QTEST_GUILESS_MAIN(HostedDockTest)
#include "HostedDockTest.moc"
