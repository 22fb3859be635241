// Plank as a folder's dock, over a private bus with Plank's interface as the real Plank answers
// it, and Plank's own settings in a test store.
#include "platform/linux/PlankDockHost.h"
#include "platform/linux/GioDesktopSettings.h"

#include "BusTestCase.h"
#include "FakePlank.h"
#include "TestDesktopSettings.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUrl>

namespace {

const QString kFolderEntry = QStringLiteral("trellin-folder-6F1C2A4E-0B7D-4E58-9A3C-2D8E5F7A9B10.desktop");
const QString kOtherFolderEntry = QStringLiteral("trellin-folder-0A1B2C3D-0B7D-4E58-9A3C-2D8E5F7A9B10.desktop");
const QString kPlankSettings = QStringLiteral("net.launchpad.plank.dock.settings:/net/launchpad/plank/docks/dock1/");

QString uriOf(const QString& path) {
    return QString::fromUtf8(QUrl::fromLocalFile(path).toEncoded());
}

} // namespace

class PlankDockHostTest : public BusTestCase {
    Q_OBJECT
public:
    PlankDockHostTest() { m_settingsReady = m_settings.setUp(); }

private Q_SLOTS:
    void init() {
        QVERIFY(m_settingsReady);
        // A space in the folder: Plank's URIs are percent-encoded.
        m_entries = m_home.filePath(QStringLiteral("local share/applications"));
        QVERIFY(QDir().mkpath(m_entries));
        m_plank = std::make_unique<FakePlank>(newConnection());
        QVERIFY(m_plank->start());
        m_host = std::make_unique<PlankDockHost>(newConnection(), m_entries, std::make_unique<GioDesktopSettings>());
    }
    void cleanup() {
        m_host.reset();
        m_plank.reset();
    }

    void pinsRoundTripInPlanksOrder() {
        QVERIFY(m_host->isRunning());
        QCOMPARE(m_host->pinnedEntries(), QStringList());
        m_plank->userChanged({QStringLiteral("file:///usr/share/applications/firefox-esr.desktop")});
        QCOMPARE(m_host->pin(kFolderEntry), std::nullopt);
        QCOMPARE(m_plank->items().last(), uriOf(m_entries + QLatin1Char('/') + kFolderEntry));
        QVERIFY(m_plank->items().last().contains(QLatin1String("local%20share")));
        // Pinned already: not added a second time, and no failure for it.
        QCOMPARE(m_host->pin(kFolderEntry), std::nullopt);
        QCOMPARE(m_plank->adds(), 1);
        QCOMPARE(m_host->pin(kOtherFolderEntry), std::nullopt);
        QCOMPARE(m_host->pinnedEntries(),
                 QStringList({QStringLiteral("firefox-esr.desktop"), kFolderEntry, kOtherFolderEntry}));

        QCOMPARE(m_host->unpin(kFolderEntry), std::nullopt);
        QCOMPARE(m_host->pinnedEntries(), QStringList({QStringLiteral("firefox-esr.desktop"), kOtherFolderEntry}));
        QCOMPARE(m_host->unpin(kFolderEntry), std::nullopt);
    }

    void aCopyElsewhereIsNotTheLauncher() {
        QFile launcher(m_entries + QLatin1Char('/') + kFolderEntry);
        QVERIFY(launcher.open(QIODevice::WriteOnly));
        launcher.close();
        const QString copy = QStringLiteral("file:///home/someone/Desktop/") + kFolderEntry;
        m_plank->userChanged({copy});
        QCOMPARE(m_host->pinnedEntries(), QStringList({copy}));
        // So pinning adds the launcher itself, and unpinning leaves the copy alone.
        QCOMPARE(m_host->pin(kFolderEntry), std::nullopt);
        QCOMPARE(m_plank->items().size(), 2);
        QCOMPARE(m_host->unpin(kFolderEntry), std::nullopt);
        QCOMPARE(m_plank->items(), QStringList({copy}));
    }

    void badEntryIdsAreRefused() {
        for (const QString& id : {QString(), QStringLiteral("../x.desktop"), QStringLiteral("..")}) {
            QVERIFY(m_host->pin(id).has_value());
            QVERIFY(m_host->unpin(id).has_value());
        }
        QCOMPARE(m_plank->adds(), 0);
    }

    void planksChangesAreReported() {
        QSignalSpy changed(m_host.get(), &DockHost::changed);
        m_plank->userChanged({uriOf(m_entries + QLatin1Char('/') + kFolderEntry)});
        QVERIFY(changed.wait(5000));
        QCOMPARE(m_host->pinnedEntries(), QStringList({kFolderEntry}));
    }

    void plankGoingAwayAndComingBack() {
        QCOMPARE(m_host->pin(kFolderEntry), std::nullopt);
        QSignalSpy changed(m_host.get(), &DockHost::changed);
        m_plank->stop();
        QTRY_VERIFY_WITH_TIMEOUT(!m_host->isRunning(), 5000);
        QVERIFY(!changed.isEmpty());
        // Not an empty dock: nothing is known.
        QCOMPARE(m_host->pinnedEntries(), std::nullopt);
        QCOMPARE(m_host->geometry(), std::nullopt);
        QVERIFY(m_host->pin(kOtherFolderEntry).has_value());

        m_plank->userChanged({uriOf(m_entries + QLatin1Char('/') + kOtherFolderEntry)});
        changed.clear();
        QVERIFY(m_plank->start());
        QTRY_VERIFY_WITH_TIMEOUT(m_host->isRunning(), 5000);
        QVERIFY(!changed.isEmpty());
        QCOMPARE(m_host->pinnedEntries(), QStringList({kOtherFolderEntry}));
        // Plank's signal still reaches the host from the new Plank.
        changed.clear();
        m_plank->userChanged({});
        QVERIFY(changed.wait(5000));
        QCOMPARE(m_host->pinnedEntries(), QStringList());
    }

    void plankStartingAfterTheHost() {
        m_plank->stop();
        PlankDockHost host(newConnection(), m_entries, nullptr);
        QVERIFY(!host.isRunning());
        QCOMPARE(host.pinnedEntries(), std::nullopt);
        QSignalSpy changed(&host, &DockHost::changed);
        QVERIFY(m_plank->start());
        QTRY_VERIFY_WITH_TIMEOUT(host.isRunning(), 5000);
        QCOMPARE(host.pinnedEntries(), QStringList());
        changed.clear();
        m_plank->userChanged({uriOf(m_entries + QLatin1Char('/') + kFolderEntry)});
        QVERIFY(changed.wait(5000));
        QCOMPARE(host.pinnedEntries(), QStringList({kFolderEntry}));
    }

    void tilePositionIsPlanksHoverPoint() {
        m_plank->userChanged({QStringLiteral("file:///usr/share/applications/firefox-esr.desktop")});
        QCOMPARE(m_host->tilePosition(kFolderEntry), std::nullopt);
        QCOMPARE(m_host->pin(kFolderEntry), std::nullopt);
        QCOMPARE(m_host->tilePosition(kFolderEntry),
                 DockHost::TilePosition({QPoint(456, 744), DockHost::Edge::Bottom}));
        m_plank->setEdge(0);
        QCOMPARE(m_host->tilePosition(kFolderEntry), DockHost::TilePosition({QPoint(456, 744), DockHost::Edge::Left}));
        m_plank->setEdge(7);
        QCOMPARE(m_host->tilePosition(kFolderEntry), std::nullopt);
    }

    void geometryFollowsPlanksSettings() {
        QVERIFY(TestDesktopSettings::set(kPlankSettings, QStringLiteral("position"), QStringLiteral("'bottom'")));
        QVERIFY(TestDesktopSettings::set(kPlankSettings, QStringLiteral("icon-size"), QStringLiteral("48")));
        QCOMPARE(m_host->geometry(), DockHost::Geometry({DockHost::Edge::Bottom, 48}));
        QSignalSpy changed(m_host.get(), &DockHost::changed);
        QVERIFY(TestDesktopSettings::set(kPlankSettings, QStringLiteral("position"), QStringLiteral("'right'")));
        QVERIFY(TestDesktopSettings::set(kPlankSettings, QStringLiteral("icon-size"), QStringLiteral("64")));
        QTRY_COMPARE_WITH_TIMEOUT(m_host->geometry(), DockHost::Geometry({DockHost::Edge::Right, 64}), 5000);
        QVERIFY(!changed.isEmpty());
    }

    void noSettingsNoGeometry() {
        PlankDockHost host(newConnection(), m_entries, nullptr);
        QVERIFY(host.isRunning());
        QCOMPARE(host.geometry(), std::nullopt);
    }

private:
    TestDesktopSettings m_settings;
    bool m_settingsReady = false;
    QTemporaryDir m_home;
    QString m_entries;
    std::unique_ptr<FakePlank> m_plank;
    std::unique_ptr<PlankDockHost> m_host;
};

QTEST_GUILESS_MAIN(PlankDockHostTest)
#include "PlankDockHostTest.moc"
