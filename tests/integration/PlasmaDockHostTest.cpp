// KDE Plasma as a folder's dock, over a private bus: the shell's scripting interface runs the
// host's scripts against panels of the test's making, KWin runs its cursor script, and the file
// the shell saves its panels in is a real one in a test folder whose events the test fires.
#include "platform/linux/PlasmaDockHost.h"

#include "BusTestCase.h"
#include "FakeFileEvents.h"
#include "FakeKWin.h"
#include "FakePlasmaShell.h"
#include "VirtualClock.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUrl>

namespace {

const QString kFolder = QStringLiteral("trellin-folder-6F1C2A4E-0B7D-4E58-9A3C-2D8E5F7A9B10.desktop");
const QString kOtherFolder = QStringLiteral("trellin-folder-0A1B2C3D-0B7D-4E58-9A3C-2D8E5F7A9B10.desktop");
const QString kIconTasks = QStringLiteral("org.kde.plasma.icontasks");
const QString kTaskManager = QStringLiteral("org.kde.plasma.taskmanager");
const QString kApplets = QStringLiteral("plasma-org.kde.plasma.desktop-appletsrc");

QString applications(const QString& id) {
    return QStringLiteral("applications:") + id;
}

QString fileUri(const QString& path) {
    return QString::fromUtf8(QUrl::fromLocalFile(path).toEncoded());
}

// Plasma's default: one bottom panel on the primary screen with the icon task manager between the
// launcher menu and the tray.
QList<FakePlasmaShell::Panel> defaultPanels() {
    return {
        {.id = 2,
         .screen = 0,
         .location = QStringLiteral("bottom"),
         .height = 44,
         .widgets = {{3, QStringLiteral("org.kde.plasma.kickoff"), {}},
                     {5,
                      kIconTasks,
                      {applications(QStringLiteral("org.kde.dolphin.desktop")), QStringLiteral("preferred://browser")}},
                     {7, QStringLiteral("org.kde.plasma.systemtray"), {}}}}};
}

} // namespace

class PlasmaDockHostTest : public BusTestCase {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        m_entries = m_home.filePath(QStringLiteral("local share/applications"));
        m_config = m_home.filePath(QStringLiteral("config"));
        QVERIFY(QDir().mkpath(m_entries));
        QVERIFY(QDir().mkpath(m_config));
        QFile::remove(m_config + QLatin1Char('/') + kApplets);
        m_shell = std::make_unique<FakePlasmaShell>(newConnection());
        m_shell->setPanels(defaultPanels());
        QVERIFY(m_shell->start());
        m_host = makeHost();
    }
    void cleanup() {
        m_host.reset();
        m_kwin.reset();
        m_shell.reset();
    }

    void pinsGoToOneTaskManagerAndLeaveEveryOne() {
        // A second screen's panel listed first, and a primary panel with two task managers.
        m_shell->setPanels(
            {{.id = 8, .screen = 1, .location = QStringLiteral("bottom"), .widgets = {{9, kIconTasks, {}}}},
             {.id = 2,
              .screen = 0,
              .location = QStringLiteral("left"),
              .widgets = {{5, kTaskManager, {QStringLiteral("preferred://browser")}},
                          {6, kIconTasks, {applications(QStringLiteral("org.kde.konsole.desktop"))}}}}});
        QCOMPARE(m_host->pin(kFolder), std::nullopt);
        QCOMPARE(m_shell->launchers(5), QStringList({QStringLiteral("preferred://browser"), applications(kFolder)}));
        // Pinned anywhere already, in any spelling: not pinned again.
        QCOMPARE(m_host->pin(kFolder), std::nullopt);
        m_shell->setPanels({{.id = 8,
                             .screen = 1,
                             .widgets = {{9, kIconTasks, {fileUri(m_entries + QLatin1Char('/') + kOtherFolder)}}}},
                            {.id = 2, .screen = 0, .widgets = {{5, kIconTasks, {applications(kFolder)}}}}});
        const int writes = m_shell->writes();
        QCOMPARE(m_host->pin(kOtherFolder), std::nullopt);
        QCOMPARE(m_shell->writes(), writes);
        QCOMPARE(m_host->pinnedEntries(), QStringList({kOtherFolder, kFolder}));

        // Unpinned from every task manager, whichever way each spells it.
        m_shell->setPanels(
            {{.id = 8, .screen = 1, .widgets = {{9, kIconTasks, {fileUri(m_entries + QLatin1Char('/') + kFolder)}}}},
             {.id = 2,
              .screen = 0,
              .widgets = {{5, kIconTasks, {applications(kFolder), QStringLiteral("preferred://browser")}},
                          {6, kTaskManager, {applications(kOtherFolder), applications(kFolder)}}}}});
        QCOMPARE(m_host->unpin(kFolder), std::nullopt);
        QCOMPARE(m_shell->launchers(9), QStringList());
        QCOMPARE(m_shell->launchers(5), QStringList({QStringLiteral("preferred://browser")}));
        QCOMPARE(m_shell->launchers(6), QStringList({applications(kOtherFolder)}));
        QCOMPARE(m_host->pinnedEntries(), QStringList({QStringLiteral("preferred://browser"), kOtherFolder}));
        // Nothing left to take: done, and nothing written.
        const int before = m_shell->writes();
        QCOMPARE(m_host->unpin(kFolder), std::nullopt);
        QCOMPARE(m_shell->writes(), before);
    }

    void launchersMapToEntryIds() {
        QFile launcher(m_entries + QLatin1Char('/') + kFolder);
        QVERIFY(launcher.open(QIODevice::WriteOnly));
        launcher.close();
        const QString copy = fileUri(QStringLiteral("/home/someone/Desktop/") + kFolder);
        const QString elsewhere = fileUri(QStringLiteral("/usr/share/applications/firefox-esr.desktop"));
        QCOMPARE(m_host->launcherOf(kFolder), applications(kFolder));
        QCOMPARE(m_host->entryIdOf(applications(kFolder)), kFolder);
        // A space in the folder: file launchers are percent-encoded.
        QVERIFY(fileUri(m_entries + QLatin1Char('/') + kFolder).contains(QLatin1String("local%20share")));
        QCOMPARE(m_host->entryIdOf(fileUri(m_entries + QLatin1Char('/') + kFolder)), kFolder);
        QCOMPARE(m_host->entryIdOf(elsewhere), QStringLiteral("firefox-esr.desktop"));
        QCOMPARE(m_host->entryIdOf(copy), copy);
        for (const QString& other : {QStringLiteral("preferred://browser"), QStringLiteral("applications:"),
                                     QStringLiteral("applications:../x.desktop")})
            QCOMPARE(m_host->entryIdOf(other), other);

        // A copy elsewhere is not the launcher: pinning adds ours, unpinning leaves the copy.
        m_shell->setPanels({{.id = 2, .widgets = {{5, kIconTasks, {copy}}}}});
        QCOMPARE(m_host->pin(kFolder), std::nullopt);
        QCOMPARE(m_shell->launchers(5), QStringList({copy, applications(kFolder)}));
        QCOMPARE(m_host->unpin(kFolder), std::nullopt);
        QCOMPARE(m_shell->launchers(5), QStringList({copy}));

        for (const QString& id : {QString(), QStringLiteral("../x.desktop"), QStringLiteral("..")}) {
            QVERIFY(m_host->pin(id).has_value());
            QVERIFY(m_host->unpin(id).has_value());
        }
        // An odd but plain name is data to the shell's script, never code.
        const QString odd = QStringLiteral("a'); writeConfig('launchers', []); (\"%1.desktop");
        QCOMPARE(m_host->pin(odd), std::nullopt);
        QCOMPARE(m_shell->launchers(5), QStringList({copy, applications(odd)}));
        QCOMPARE(m_host->unpin(odd), std::nullopt);
        QCOMPARE(m_shell->launchers(5), QStringList({copy}));
    }

    // Whatever the shell cannot tell is unknown, never an empty dock, and no pin claims success.
    void whatTheShellCannotTellIsUnknown() {
        m_host->setTimeout(500);
        const QList<std::pair<const char*, FakePlasmaShell::Mode>> faults{
            {"garbage", FakePlasmaShell::Mode::PrintsGarbage},
            {"nothing", FakePlasmaShell::Mode::PrintsNothing},
            {"error", FakePlasmaShell::Mode::Fails},
            {"hang", FakePlasmaShell::Mode::Hangs}};
        for (const auto& [name, mode] : faults) {
            m_shell->setMode(mode);
            QElapsedTimer waited;
            waited.start();
            QVERIFY2(m_host->pinnedEntries() == std::nullopt, name);
            QVERIFY2(m_host->pin(kFolder).has_value(), name);
            QVERIFY2(m_host->unpin(kFolder).has_value(), name);
            QVERIFY2(m_host->geometry() == std::nullopt, name);
            QVERIFY2(waited.elapsed() < 4000, name);
        }
        m_shell->setMode(FakePlasmaShell::Mode::Runs);
        // Answers to the questions given up on may still come; they are not waited for.
        m_host->setTimeout(3000);

        // No task manager anywhere (no panel yet, or none with one): nothing can be pinned.
        for (const QList<FakePlasmaShell::Panel>& panels :
             {QList<FakePlasmaShell::Panel>{}, QList<FakePlasmaShell::Panel>{{.id = 2,
                                               .widgets = {{3, QStringLiteral("org.kde.plasma.kickoff"), {}}}}}}) {
            m_shell->setPanels(panels);
            QCOMPARE(m_host->pinnedEntries(), std::nullopt);
            QVERIFY(m_host->pin(kFolder).has_value());
            QCOMPARE(m_host->unpin(kFolder), std::nullopt);
        }
        // An empty task manager is an empty dock.
        m_shell->setPanels({{.id = 2, .widgets = {{5, kIconTasks, {}}}}});
        QCOMPARE(m_host->pinnedEntries(), QStringList());
    }

    void shellGoingAwayAndComingBack() {
        QSignalSpy changed(m_host.get(), &DockHost::changed);
        QVERIFY(m_host->isRunning());
        m_shell->stop();
        QTRY_VERIFY_WITH_TIMEOUT(!m_host->isRunning(), 5000);
        QVERIFY(!changed.isEmpty());
        QCOMPARE(m_host->pinnedEntries(), std::nullopt);
        QCOMPARE(m_host->geometry(), std::nullopt);
        QVERIFY(m_host->pin(kFolder).has_value());
        const int scripts = m_shell->scripts();

        // A change saved while the shell is away is not read from it.
        m_applets.rewrite();
        m_files.fire(m_config, FileEvents::Write);
        m_clock.advance(1);
        QCOMPARE(m_shell->scripts(), scripts);

        changed.clear();
        QVERIFY(m_shell->start());
        QTRY_VERIFY_WITH_TIMEOUT(m_host->isRunning(), 5000);
        QVERIFY(!changed.isEmpty());
        QCOMPARE(m_host->pin(kFolder), std::nullopt);
        QCOMPARE(m_shell->launchers(5).last(), applications(kFolder));
    }

    // The shell saves its panels by writing a new file over the old one: a save that changed the
    // pins is told, once; other files in the folder and saves of the same pins are not.
    void theShellsSavesAreWatched() {
        // Only for someone who listens.
        QVERIFY(!m_files.isWatched(m_config));
        QSignalSpy changed(m_host.get(), &DockHost::changed);
        QVERIFY(m_files.isWatched(m_config));
        QCOMPARE(m_host->pin(kFolder), std::nullopt);
        m_applets.rewrite();
        // The temporary file and the rename: two events, one look.
        m_files.fire(m_config, FileEvents::Write);
        m_files.fire(m_config, FileEvents::Write);
        int scripts = m_shell->scripts();
        m_clock.advance(1);
        QCOMPARE(m_shell->scripts(), scripts + 1);
        QCOMPARE(changed.count(), 1);

        // Another file of the folder written: the shell's file is as it was, nothing is asked.
        QFile other(m_config + QStringLiteral("/kwinrc"));
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.close();
        m_files.fire(m_config, FileEvents::Write);
        scripts = m_shell->scripts();
        m_clock.advance(1);
        QCOMPARE(m_shell->scripts(), scripts);

        // Saved again with the same pins (a panel moved, say): read, but nothing to tell.
        m_applets.rewrite();
        m_files.fire(m_config, FileEvents::Write);
        m_clock.advance(1);
        QCOMPARE(changed.count(), 1);

        // The user unpins the folder in the panel; the shell saves.
        QStringList launchers = m_shell->launchers(5);
        launchers.removeAll(applications(kFolder));
        QList<FakePlasmaShell::Panel> panels = m_shell->panels();
        panels[0].widgets[1].launchers = launchers;
        m_shell->setPanels(panels);
        m_applets.rewrite();
        m_files.fire(m_config, FileEvents::Write);
        m_clock.advance(1);
        QCOMPARE(changed.count(), 2);
        QVERIFY(!m_host->pinnedEntries()->contains(kFolder));

        // The panel moved to the left edge, then made thicker (saved in the shell's other file).
        panels[0].location = QStringLiteral("left");
        m_shell->setPanels(panels);
        m_applets.rewrite();
        m_files.fire(m_config, FileEvents::Write);
        m_clock.advance(1);
        QCOMPARE(changed.count(), 3);
        panels[0].height = 60;
        m_shell->setPanels(panels);
        Applets shellFile{m_config + QStringLiteral("/plasmashellrc")};
        shellFile.rewrite();
        m_files.fire(m_config, FileEvents::Write);
        m_clock.advance(1);
        QCOMPARE(changed.count(), 4);
        QCOMPARE(m_host->geometry(), DockHost::Geometry({DockHost::Edge::Left, 42}));

        // A save the shell does not answer about is looked at again, not passed over.
        panels[0].widgets[1].launchers.clear();
        m_shell->setPanels(panels);
        m_shell->setMode(FakePlasmaShell::Mode::PrintsNothing);
        m_applets.rewrite();
        m_files.fire(m_config, FileEvents::Write);
        m_clock.advance(1);
        QCOMPARE(changed.count(), 4);
        m_shell->setMode(FakePlasmaShell::Mode::Runs);
        m_clock.advance(5);
        QCOMPARE(changed.count(), 5);
        QCOMPARE(m_host->pinnedEntries(), QStringList());
    }

    void aFolderNotThereYetIsWatchedOnceItIs() {
        m_host.reset();
        QVERIFY(QDir(m_config).removeRecursively());
        auto host = makeHost();
        QSignalSpy changed(host.get(), &DockHost::changed);
        QVERIFY(!m_files.isWatched(m_config));
        m_clock.advance(6);
        QVERIFY(!m_files.isWatched(m_config));
        // The shell's first save makes the folder.
        QVERIFY(QDir().mkpath(m_config));
        m_applets.rewrite();
        m_clock.advance(6);
        QVERIFY(m_files.isWatched(m_config));
        QCOMPARE(changed.count(), 1);
        // The folder itself removed: watched again once it is back.
        QVERIFY(QDir(m_config).removeRecursively());
        m_files.fire(m_config, FileEvents::Delete);
        QVERIFY(!m_files.isWatched(m_config));
        QVERIFY(QDir().mkpath(m_config));
        m_clock.advance(6);
        QVERIFY(m_files.isWatched(m_config));
    }

    void geometryIsThePinPanels() {
        const QList<std::tuple<QString, int, std::optional<DockHost::Geometry>>> cases{
            {QStringLiteral("bottom"), 44, DockHost::Geometry{DockHost::Edge::Bottom, 26}},
            {QStringLiteral("left"), 80, DockHost::Geometry{DockHost::Edge::Left, 62}},
            {QStringLiteral("right"), 64, DockHost::Geometry{DockHost::Edge::Right, 46}},
            {QStringLiteral("top"), 30, DockHost::Geometry{DockHost::Edge::Top, 16}},
            {QStringLiteral("floating"), 44, std::nullopt},
            {QStringLiteral("bottom"), 0, std::nullopt}};
        for (const auto& [location, height, geometry] : cases) {
            QList<FakePlasmaShell::Panel> panels = defaultPanels();
            panels[0].location = location;
            panels[0].height = height;
            // A panel without a task manager, before it, is not where folders stand.
            panels.prepend({.id = 20, .location = QStringLiteral("top"), .height = 24, .widgets = {}});
            m_shell->setPanels(panels);
            QCOMPARE(m_host->geometry(), geometry);
        }
    }

    // The pointer, as KWin tells it, at a click on a panel that holds the folder.
    void tilePositionIsTheClickOnTheLaunchersPanel() {
        m_shell->setPanels({{.id = 2,
                             .location = QStringLiteral("bottom"),
                             .height = 44,
                             .widgets = {{5, kIconTasks, {applications(kFolder)}}}},
                            {.id = 8,
                             .location = QStringLiteral("left"),
                             .height = 60,
                             .widgets = {{9, kIconTasks, {applications(kFolder)}}}},
                            {.id = 10,
                             .screen = 1,
                             .location = QStringLiteral("right"),
                             .height = 48,
                             .widgets = {{11, kIconTasks, {applications(kOtherFolder)}}}}});
        m_host->setTimeout(300);
        QCOMPARE(m_host->tilePosition(kFolder), std::nullopt); // no KWin
        m_host->setTimeout(2000);
        m_kwin = std::make_unique<FakeKWin>(newConnection());
        QVERIFY(m_kwin->start());
        m_kwin->setCursor({600, 780});
        QElapsedTimer clicked;
        clicked.start();
        QCOMPARE(m_host->tilePosition(kFolder), DockHost::TilePosition({QPoint(600, 780), DockHost::Edge::Bottom}));
        // Answered when KWin calls back, not when the wait runs out.
        QVERIFY(clicked.elapsed() < 1500);
        QCOMPARE(m_kwin->scriptErrors(), 0);
        // Unloaded after each question.
        QTRY_COMPARE_WITH_TIMEOUT(m_kwin->loaded(), QString(), 2000);
        m_kwin->setCursor({20, 300});
        QCOMPARE(m_host->tilePosition(kFolder), DockHost::TilePosition({QPoint(20, 300), DockHost::Edge::Left}));
        // On the second screen's right panel.
        m_kwin->setCursor({2290, 100});
        QCOMPARE(m_host->tilePosition(kOtherFolder),
                 DockHost::TilePosition({QPoint(2290, 100), DockHost::Edge::Right}));
        // Not on a panel that holds it (opened from elsewhere): where its tile is, is unknown.
        m_kwin->setCursor({600, 300});
        QCOMPARE(m_host->tilePosition(kFolder), std::nullopt);
        m_kwin->setCursor({2290, 100});
        QCOMPARE(m_host->tilePosition(kFolder), std::nullopt);
        QCOMPARE(m_host->tilePosition(QStringLiteral("../x.desktop")), std::nullopt);
        QCOMPARE(m_kwin->runs(), 5);

        // Two hosts of one process (the old dock's and the new one's, at a switch) on one connection.
        const QDBusConnection shared = newConnection();
        PlasmaDockHost first(shared, m_entries, m_config, m_files, m_clock);
        PlasmaDockHost second(shared, m_entries, m_config, m_files, m_clock);
        m_kwin->setCursor({600, 780});
        for (PlasmaDockHost* host : {&first, &second, &first})
            QCOMPARE(host->tilePosition(kFolder), DockHost::TilePosition({QPoint(600, 780), DockHost::Edge::Bottom}));
    }

    void aKWinThatDoesNotAnswerIsWaitedForBriefly() {
        m_host->setTimeout(300);
        m_kwin = std::make_unique<FakeKWin>(newConnection());
        QVERIFY(m_kwin->start());
        m_shell->setPanels({{.id = 2, .widgets = {{5, kIconTasks, {applications(kFolder)}}}}});
        m_kwin->setCursor({600, 780});
        m_kwin->setMode(FakeKWin::Mode::Silent);
        QElapsedTimer waited;
        waited.start();
        QCOMPARE(m_host->tilePosition(kFolder), std::nullopt);
        QVERIFY(waited.elapsed() >= 250 && waited.elapsed() < 2000);
        QCOMPARE(m_kwin->runs(), 1);
        // The script is taken away all the same, and the next click is answered.
        QTRY_COMPARE_WITH_TIMEOUT(m_kwin->loaded(), QString(), 2000);
        m_kwin->setMode(FakeKWin::Mode::Runs);
        QCOMPARE(m_host->tilePosition(kFolder), DockHost::TilePosition({QPoint(600, 780), DockHost::Edge::Bottom}));
    }

private:
    // The shell's saved file, written as the shell writes it: a new file renamed over the old.
    struct Applets {
        QString path;
        int saves = 0;
        void rewrite() {
            QFile file(path + QStringLiteral(".new"));
            if (file.open(QIODevice::WriteOnly))
                file.write(QByteArray("[Containments][2]\nsave=") + QByteArray::number(++saves) + '\n');
            file.close();
            QFile::remove(path);
            QFile::rename(path + QStringLiteral(".new"), path);
        }
    };

    std::unique_ptr<PlasmaDockHost> makeHost() {
        m_applets.path = m_config + QLatin1Char('/') + kApplets;
        return std::make_unique<PlasmaDockHost>(newConnection(), m_entries, m_config, m_files, m_clock);
    }

    QTemporaryDir m_home;
    QString m_entries;
    QString m_config;
    FakeFileEvents m_files;
    VirtualClock m_clock;
    Applets m_applets;
    std::unique_ptr<FakePlasmaShell> m_shell;
    std::unique_ptr<FakeKWin> m_kwin;
    std::unique_ptr<PlasmaDockHost> m_host;
};

QTEST_GUILESS_MAIN(PlasmaDockHostTest)
#include "PlasmaDockHostTest.moc"
