// GNOME Shell as a folder's dock: its favourites and dash-to-dock's settings in a test store,
// written by the host and by another process as the user or the shell would; the shell "runs"
// while a connection owns its name on a private bus.
#include "platform/linux/GnomeShellDockHost.h"
#include "platform/linux/GioDesktopSettings.h"

#include "BusTestCase.h"
#include "FakeShellObject.h"
#include "TestDesktopSettings.h"

#include <QElapsedTimer>
#include <QSignalSpy>

namespace {

const QString kFolderEntry = QStringLiteral("trellin-folder-6F1C2A4E-0B7D-4E58-9A3C-2D8E5F7A9B10.desktop");
const QString kShell = QStringLiteral("org.gnome.shell");
const QString kDashToDock = QStringLiteral("org.gnome.shell.extensions.dash-to-dock");
const QString kTilesPath = QStringLiteral("/app/trellin/ShellTiles");
using Tile = DockHost::TilePosition;
using Geometry = DockHost::Geometry;

QStringList favoritesIn(DesktopSettings::Schema& shell) {
    return shell.value(QStringLiteral("favorite-apps")).value_or(QVariant()).toStringList();
}

} // namespace

class GnomeShellDockHostTest : public BusTestCase {
    Q_OBJECT
public:
    GnomeShellDockHostTest() { m_settingsReady = m_settings.setUp(); }

private Q_SLOTS:
    void init() {
        QVERIFY(m_settingsReady);
        QVERIFY(TestDesktopSettings::set(kShell, QStringLiteral("favorite-apps"),
                                         QStringLiteral("['org.gnome.Nautilus.desktop', 'firefox-esr.desktop', "
                                                        "'org.gnome.Terminal.desktop']")));
        QVERIFY(TestDesktopSettings::set(kShell, QStringLiteral("enabled-extensions"), QStringLiteral("@as []")));
        QVERIFY(TestDesktopSettings::set(kShell, QStringLiteral("disable-user-extensions"), QStringLiteral("false")));
        QVERIFY(TestDesktopSettings::set(kDashToDock, QStringLiteral("dock-position"), QStringLiteral("'BOTTOM'")));
        QVERIFY(TestDesktopSettings::set(kDashToDock, QStringLiteral("dash-max-icon-size"), QStringLiteral("48")));
        // Written last and new each time: once this process sees it, it sees all of the above.
        const QString marker = QStringLiteral("case-%1@tests").arg(++m_case);
        QVERIFY(TestDesktopSettings::set(kShell, QStringLiteral("disabled-extensions"),
                                         QStringLiteral("['%1']").arg(marker)));
        m_shellConnection = newConnection();
        QVERIFY(m_shellConnection.registerService(QStringLiteral("org.gnome.Shell")));
        m_host = std::make_unique<GnomeShellDockHost>(newConnection(), std::make_unique<GioDesktopSettings>(),
                                                      QStringLiteral("GNOME"));
        m_reader = GioDesktopSettings().open(kShell);
        QVERIFY(m_reader);
        // This process sees another's writes when its file monitor tells it.
        QTRY_COMPARE_WITH_TIMEOUT(m_reader->value(QStringLiteral("disabled-extensions"))->toStringList(),
                                  QStringList(marker), 5000);
    }
    void cleanup() {
        m_host.reset();
        m_shellConnection.unregisterService(QStringLiteral("org.gnome.Shell"));
    }

    void pinAppendsAndUnpinKeepsTheRest() {
        QVERIFY(m_host->isRunning());
        QCOMPARE(m_host->pin(kFolderEntry), std::nullopt);
        const QStringList pinned = {QStringLiteral("org.gnome.Nautilus.desktop"), QStringLiteral("firefox-esr.desktop"),
                                    QStringLiteral("org.gnome.Terminal.desktop"), kFolderEntry};
        QCOMPARE(m_host->pinnedEntries(), pinned);
        QCOMPARE(m_host->pin(kFolderEntry), std::nullopt);
        QCOMPARE(favoritesIn(*m_reader), pinned);

        // Pinned twice by hand: every pin goes, the others stay in their order.
        QVERIFY(TestDesktopSettings::set(kShell, QStringLiteral("favorite-apps"),
                                         QStringLiteral("['a.desktop', '%1', 'b.desktop', '%1']").arg(kFolderEntry)));
        QTRY_COMPARE_WITH_TIMEOUT(m_host->pinnedEntries()->value(0), QStringLiteral("a.desktop"), 5000);
        QCOMPARE(m_host->unpin(kFolderEntry), std::nullopt);
        QCOMPARE(favoritesIn(*m_reader), QStringList({QStringLiteral("a.desktop"), QStringLiteral("b.desktop")}));
        QCOMPARE(m_host->unpin(kFolderEntry), std::nullopt);
        QVERIFY(m_host->pin(QStringLiteral("../x.desktop")).has_value());
    }

    void theUsersUnpinningIsReported() {
        QCOMPARE(m_host->pin(kFolderEntry), std::nullopt);
        QSignalSpy changed(m_host.get(), &DockHost::changed);
        QVERIFY(TestDesktopSettings::set(kShell, QStringLiteral("favorite-apps"), QStringLiteral("['a.desktop']")));
        QVERIFY(changed.wait(5000));
        QCOMPARE(m_host->pinnedEntries(), QStringList({QStringLiteral("a.desktop")}));
    }

    void pinsAreKnownOnlyWhileTheShellRuns() {
        QSignalSpy changed(m_host.get(), &DockHost::changed);
        m_shellConnection.unregisterService(QStringLiteral("org.gnome.Shell"));
        QTRY_VERIFY_WITH_TIMEOUT(!m_host->isRunning(), 5000);
        QVERIFY(!changed.isEmpty());
        QCOMPARE(m_host->pinnedEntries(), std::nullopt);
        // The shell reads its favourites when it starts: pinning before it does is kept.
        QCOMPARE(m_host->pin(kFolderEntry), std::nullopt);
        QVERIFY(favoritesIn(*m_reader).contains(kFolderEntry));
        changed.clear();
        QVERIFY(m_shellConnection.registerService(QStringLiteral("org.gnome.Shell")));
        QTRY_VERIFY_WITH_TIMEOUT(m_host->isRunning(), 5000);
        QVERIFY(!changed.isEmpty());
        QVERIFY(m_host->pinnedEntries()->contains(kFolderEntry));
    }

    void geometryComesFromDashToDock() {
        // The plain dash lives in the overview: no edge to open beside.
        QCOMPARE(m_host->geometry(), std::nullopt);
        QSignalSpy changed(m_host.get(), &DockHost::changed);
        QVERIFY(TestDesktopSettings::set(kShell, QStringLiteral("enabled-extensions"),
                                         QStringLiteral("['dash-to-dock@micxgx.gmail.com']")));
        QTRY_COMPARE_WITH_TIMEOUT(m_host->geometry(), DockHost::Geometry({DockHost::Edge::Bottom, 48}), 5000);
        QVERIFY(!changed.isEmpty());
        changed.clear();
        QVERIFY(TestDesktopSettings::set(kDashToDock, QStringLiteral("dock-position"), QStringLiteral("'LEFT'")));
        QVERIFY(TestDesktopSettings::set(kDashToDock, QStringLiteral("dash-max-icon-size"), QStringLiteral("32")));
        QTRY_COMPARE_WITH_TIMEOUT(m_host->geometry(), DockHost::Geometry({DockHost::Edge::Left, 32}), 5000);
        QVERIFY(!changed.isEmpty());
        QCOMPARE(m_host->tilePosition(kFolderEntry), std::nullopt);

        QVERIFY(TestDesktopSettings::set(kShell, QStringLiteral("disable-user-extensions"), QStringLiteral("true")));
        QTRY_COMPARE_WITH_TIMEOUT(m_host->geometry(), std::nullopt, 5000);
        QVERIFY(TestDesktopSettings::set(kShell, QStringLiteral("disable-user-extensions"), QStringLiteral("false")));
        QVERIFY(TestDesktopSettings::set(kShell, QStringLiteral("enabled-extensions"),
                                         QStringLiteral("['ubuntu-dock@ubuntu.com']")));
        QTRY_COMPARE_WITH_TIMEOUT(m_host->geometry(), DockHost::Geometry({DockHost::Edge::Left, 32}), 5000);
    }

    void ubuntusSessionRunsUbuntuDock() {
        GnomeShellDockHost ubuntu(newConnection(), std::make_unique<GioDesktopSettings>(),
                                  QStringLiteral("ubuntu:GNOME"));
        QVERIFY(ubuntu.isRunning());
        QVERIFY(TestDesktopSettings::set(kShell, QStringLiteral("disable-user-extensions"), QStringLiteral("true")));
        QTRY_VERIFY_WITH_TIMEOUT(m_reader->value(QStringLiteral("disable-user-extensions"))->toBool(), 5000);
        QCOMPARE(ubuntu.geometry(), DockHost::Geometry({DockHost::Edge::Bottom, 48}));
        QCOMPARE(m_host->geometry(), std::nullopt);
        QVERIFY(TestDesktopSettings::set(kShell, QStringLiteral("disabled-extensions"),
                                         QStringLiteral("['ubuntu-dock@ubuntu.com']")));
        QTRY_COMPARE_WITH_TIMEOUT(ubuntu.geometry(), std::nullopt, 5000);
    }

    // Trellin's extension, on the shell's own connection, tells where the icon is and where the
    // plain dash stands; without it nothing is known, as before.
    void theExtensionTellsWhereTheTileIs() {
        QCOMPARE(m_host->tilePosition(kFolderEntry), std::nullopt);
        QCOMPARE(m_host->geometry(), std::nullopt);
        FakeShellObject tiles(m_shellConnection, kTilesPath);
        QVERIFY(tiles.start());
        tiles.answer(QStringLiteral("GetTile"), {true, 536, 708, 64, 92, QStringLiteral("BOTTOM")});
        tiles.answer(QStringLiteral("GetDock"), {true, QStringLiteral("BOTTOM"), 48});
        QCOMPARE(m_host->tilePosition(kFolderEntry), Tile({QPoint(567, 753), DockHost::Edge::Bottom}));
        QCOMPARE(tiles.calls(QStringLiteral("GetTile")), QList<QVariantList>({{kFolderEntry}}));
        QCOMPARE(m_host->geometry(), Geometry({DockHost::Edge::Bottom, 48}));

        // dash-to-dock's settings say where it stands; the extension still tells the icon.
        QVERIFY(TestDesktopSettings::set(kShell, QStringLiteral("enabled-extensions"),
                                         QStringLiteral("['dash-to-dock@micxgx.gmail.com']")));
        QVERIFY(TestDesktopSettings::set(kDashToDock, QStringLiteral("dock-position"), QStringLiteral("'LEFT'")));
        QTRY_COMPARE_WITH_TIMEOUT(m_host->geometry(), Geometry({DockHost::Edge::Left, 48}), 5000);
        tiles.answer(QStringLiteral("GetTile"), {true, 0, 300, 56, 56, QStringLiteral("LEFT")});
        QCOMPARE(m_host->tilePosition(kFolderEntry), Tile({QPoint(27, 327), DockHost::Edge::Left}));

        // No dash shows it, or no entry id is asked for: nothing is known.
        tiles.answer(QStringLiteral("GetTile"), {false, 0, 0, 0, 0, QString()});
        QCOMPARE(m_host->tilePosition(kFolderEntry), std::nullopt);
        const qsizetype asked = tiles.calls(QStringLiteral("GetTile")).size();
        QCOMPARE(m_host->tilePosition(QStringLiteral("../x.desktop")), std::nullopt);
        QCOMPARE(m_host->tilePosition(QString()), std::nullopt);
        QCOMPARE(tiles.calls(QStringLiteral("GetTile")).size(), asked);

        // Switched off again: the shell no longer knows the object.
        tiles.stop();
        QCOMPARE(m_host->tilePosition(kFolderEntry), std::nullopt);
    }

    // An extension of another version, or a broken one, answers in other shapes; a shell too busy
    // to answer must not hold up the click: each counts as no answer.
    void wrongOrLateAnswersCountAsNone() {
        FakeShellObject tiles(m_shellConnection, kTilesPath);
        QVERIFY(tiles.start());
        const QString bottom = QStringLiteral("BOTTOM");
        const QList<QVariantList> badTiles = {
            {true, 536, 708, 64, 92},
            {true, QStringLiteral("536"), 708, 64, 92, bottom},
            {1, 536, 708, 64, 92, bottom},
            {true, 536, 708, 0, 92, bottom},
            {true, 536, 708, 64, -5, bottom},
            {true, 536, 708, 64, 92, QStringLiteral("MIDDLE")},
            {true, 536, 708, 64, 92, QString()},
        };
        for (const QVariantList& answer : badTiles) {
            tiles.answer(QStringLiteral("GetTile"), answer);
            QVERIFY2(!m_host->tilePosition(kFolderEntry), qPrintable(QDebug::toString(answer)));
        }
        const QList<QVariantList> badDocks = {
            {true, bottom, 0}, {true, QStringLiteral("sideways"), 48}, {true, 48}, {true, bottom, 48.0}};
        for (const QVariantList& answer : badDocks) {
            tiles.answer(QStringLiteral("GetDock"), answer);
            QVERIFY2(!m_host->geometry(), qPrintable(QDebug::toString(answer)));
        }

        tiles.answer(QStringLiteral("GetTile"), {true, 536, 708, 64, 92, bottom});
        tiles.answer(QStringLiteral("GetDock"), {true, bottom, 48});
        tiles.setDelay(3000);
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(m_host->tilePosition(kFolderEntry), std::nullopt);
        QCOMPARE(m_host->geometry(), std::nullopt);
        QVERIFY2(clock.elapsed() < 1500, qPrintable(QString::number(clock.elapsed())));
        // Answered in time again, the late answers do not get in the way.
        tiles.setDelay(0);
        QCOMPARE(m_host->tilePosition(kFolderEntry), Tile({QPoint(567, 753), DockHost::Edge::Bottom}));
    }

    void withoutGnomeNothingCanBePinned() {
        // GSettings would abort the process on these.
        QVERIFY(!GioDesktopSettings().open(QStringLiteral("org.example.NoSuchSchema")));
        QVERIFY(!GioDesktopSettings().open(QStringLiteral("net.launchpad.plank.dock.settings")));
        QVERIFY(!GioDesktopSettings().open(QStringLiteral("net.launchpad.plank.dock.settings"), QStringLiteral("no/")));
        QVERIFY(!m_reader->value(QStringLiteral("no-such-key")));
        QVERIFY(m_reader->setStringList(QStringLiteral("no-such-key"), {}).has_value());
        QVERIFY(m_reader->setStringList(QStringLiteral("disable-user-extensions"), {}).has_value());

        GnomeShellDockHost host(newConnection(), nullptr, QStringLiteral("GNOME"));
        QVERIFY(host.isRunning());
        QCOMPARE(host.pinnedEntries(), std::nullopt);
        QVERIFY(host.pin(kFolderEntry).has_value());
        QVERIFY(host.unpin(kFolderEntry).has_value());
        QCOMPARE(host.geometry(), std::nullopt);
    }

private:
    TestDesktopSettings m_settings;
    bool m_settingsReady = false;
    int m_case = 0;
    QDBusConnection m_shellConnection{QString()};
    std::unique_ptr<GnomeShellDockHost> m_host;
    std::unique_ptr<DesktopSettings::Schema> m_reader;
};

QTEST_GUILESS_MAIN(GnomeShellDockHostTest)
#include "GnomeShellDockHostTest.moc"
