// The helper's Dock tile over time: presenting, the debounced bundle-icon write, badges.
#include "tile/DockTileManager.h"
#include "model/FolderStore.h"
#include "model/HelperLaunchLog.h"

#include "FakeDockTile.h"
#include "RecordingHelperActions.h"
#include "TestSettings.h"
#include "VirtualClock.h"

#include <QPainter>
#include <QTest>

namespace {

// The folder's solid red in the dark theme.
const QColor kRed(255, 69, 58);

} // namespace

class DockTileManagerTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void presentingIsAsynchronousAndIconWriteDebounced();
    void badgeShowsItsSymbolUntilTheLastOneExpires();
    void withoutFolderTheLastImageIsShownAgain();
    void everyBackgroundFollowsTheThemeAtOnce();

private:
    std::unique_ptr<DockTileManager> makeManager(std::optional<QUuid> folderID);

    std::unique_ptr<TestHome> m_home;
    std::unique_ptr<VirtualClock> m_clock;
    RecordingHelperActions m_helpers;
    std::unique_ptr<HelperLaunchLog> m_launchLog;
    std::unique_ptr<AppSettings> m_settings;
    std::unique_ptr<FolderStore> m_store;
    FakeDockTile m_tile;
    QList<double> m_iconWrites;
    QStringList m_symbols;
    AppFolder m_folder;
};

void DockTileManagerTest::init() {
    m_home = std::make_unique<TestHome>();
    m_clock = std::make_unique<VirtualClock>(1000);
    m_launchLog = std::make_unique<HelperLaunchLog>(*m_clock);
    m_settings = makeTestSettings(*m_home, *m_clock);
    m_store =
        std::make_unique<FolderStore>(m_home->applicationSupport(), FolderStore::Services{
                                                                        .clock = *m_clock,
                                                                        .scheduler = *m_clock,
                                                                        .notifications = m_home->localNotifications,
                                                                        .helpers = m_helpers,
                                                                        .launchLog = *m_launchLog,
                                                                        .isHelperProcess = [] { return true; },
                                                                    });
    m_folder = AppFolder(QUuid::createUuid(), "Work", "folder.fill", 0);
    m_folder.tileStyle.backgroundMode = TileBackgroundMode::Solid;
    m_folder.tileStyle.backgroundStyle = TileBackground::Red;
    m_folder.tileStyle.opacity = 1;
    m_store->setFolders({m_folder});
    m_tile.contents.clear();
    m_iconWrites.clear();
    m_symbols.clear();
}

void DockTileManagerTest::cleanup() {
    m_store.reset();
    m_settings.reset();
    m_home.reset();
}

std::unique_ptr<DockTileManager> DockTileManagerTest::makeManager(std::optional<QUuid> folderID) {
    TileDrawingContext resources;
    resources.symbol = [this](const QString& name, double size, bool, const QColor& color) -> std::optional<QImage> {
        m_symbols.append(name);
        QImage image(qCeil(size), qCeil(size), QImage::Format_ARGB32_Premultiplied);
        image.fill(color);
        return image;
    };
    return std::make_unique<DockTileManager>(DockTileManager::Services{
        .scheduler = *m_clock,
        .store = *m_store,
        .settings = *m_settings,
        .dockTile = m_tile,
        .currentFolderID = [folderID] { return folderID; },
        .resources = resources,
        .setCustomIcon =
            [this](const QImage& image, const QString& path) {
                // Written at full size to the running bundle.
                if (image.size() == QSize(512, 512) && path == QStringLiteral("/Helpers/Work.app"))
                    m_iconWrites.append(m_clock->now());
                return true;
            },
        .bundlePath = "/Helpers/Work.app",
    });
}

void DockTileManagerTest::presentingIsAsynchronousAndIconWriteDebounced() {
    const auto manager = makeManager(m_folder.id);
    manager->refreshTile();
    QVERIFY(m_tile.contents.isEmpty());
    m_clock->advance(0);
    QCOMPARE(m_tile.contents.size(), 1);
    const QImage content = m_tile.contents.first();
    QCOMPARE(content.size(), QSize(128, 128));
    QCOMPARE(content.pixelColor(64, 64).rgb(), kRed.rgb()); // red, dark theme

    // A burst of changes writes the bundle icon once, 0.5 s after the last.
    m_clock->advance(0.3);
    manager->refreshTile();
    m_clock->advance(0.3);
    manager->refreshTile();
    m_clock->advance(0.49);
    QVERIFY(m_iconWrites.isEmpty());
    m_clock->advance(0.02);
    QCOMPARE(m_iconWrites.size(), 1);
    QVERIFY(qAbs(m_iconWrites.first() - 1001.1) < 1e-9);
    QCOMPARE(m_tile.contents.size(), 3);
}

void DockTileManagerTest::badgeShowsItsSymbolUntilTheLastOneExpires() {
    const auto manager = makeManager(m_folder.id);
    manager->showBadge("ON", SystemColor::Green, 2.0);
    m_clock->advance(0);
    const QImage badge = m_tile.contents.last();
    // A black plate inset 11 of 128 pixels, with the symbol (here a square) in the badge colour.
    QCOMPARE(badge.pixelColor(20, 64), QColor(Qt::black));
    QCOMPARE(badge.pixelColor(5, 64).alpha(), 0);
    QCOMPARE(badge.pixelColor(64, 64).rgb(), QColor(48, 209, 88).rgb());

    // Each later badge takes the place of the one before and restarts the time.
    m_clock->advance(1.0);
    manager->showBadge("OFF", SystemColor::Red, 2.0);
    m_clock->advance(1.0);
    manager->showBadge("DELETE", SystemColor::Red, 2.0);
    QCOMPARE(manager->activeBadge()->text, "DELETE");
    m_clock->advance(1.9);
    QVERIFY(manager->activeBadge());
    QCOMPARE(m_symbols, (QStringList{"checkmark.circle", "nosign", "xmark.circle"}));
    m_clock->advance(0.1);
    QVERIFY(!manager->activeBadge());
    // Back to the picture.
    QCOMPARE(m_tile.contents.last().pixelColor(64, 64).rgb(), kRed.rgb());
    m_clock->advance(0.5); // the bundle icon of the refreshed picture
    QCOMPARE(m_clock->pendingCount(), 0);
}

void DockTileManagerTest::withoutFolderTheLastImageIsShownAgain() {
    // The main application has no folder and no picture: nothing happens.
    const auto main = makeManager(std::nullopt);
    main->refreshTile();
    m_clock->advance(1);
    QVERIFY(m_tile.contents.isEmpty());
    QVERIFY(m_iconWrites.isEmpty());

    // A helper whose folder disappeared keeps its last picture.
    const auto helper = makeManager(m_folder.id);
    helper->refreshTile();
    m_store->setFolders({});
    helper->refreshTile();
    m_clock->advance(1);
    QCOMPARE(m_tile.contents.size(), 2);
    QCOMPARE(m_tile.contents.last().pixelColor(64, 64).rgb(), kRed.rgb());
    QCOMPARE(m_iconWrites.size(), 1);
}

void DockTileManagerTest::everyBackgroundFollowsTheThemeAtOnce() {
    const auto manager = makeManager(m_folder.id);
    // Written next to the test for a person to look at: a column per background, the tile as shown
    // before the switch, after it, and after switching back, over a desktop's mid grey.
    QImage sheet(3 * 128, 3 * 128, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor(120, 130, 140));
    QPainter painter(&sheet);
    int column = 0;
    for (const TileBackgroundMode mode :
         {TileBackgroundMode::Glass, TileBackgroundMode::Solid, TileBackgroundMode::Gradient}) {
        m_settings->setAppTheme(AppThemeMode::Dark);
        m_folder.tileStyle.backgroundMode = mode;
        m_store->setFolders({m_folder});
        manager->refreshTile();
        m_clock->advance(1);
        const QImage dark = m_tile.contents.last();
        const int writes = int(m_iconWrites.size());

        // Only the theme changes, as a helper's reload of the settings changes it: the tile shown
        // and the bundle's icon are drawn again in the new colours.
        m_settings->setAppTheme(AppThemeMode::Light);
        m_clock->advance(0);
        const QImage light = m_tile.contents.last();
        QVERIFY2(light != dark, qPrintable(QStringLiteral("mode %1").arg(int(mode))));
        m_clock->advance(1);
        QCOMPARE(m_iconWrites.size(), writes + 1);
        // Glass is white over the desktop, far more opaque in the light theme.
        if (mode == TileBackgroundMode::Glass)
            QVERIFY(light.pixelColor(64, 100).alpha() > dark.pixelColor(64, 100).alpha() + 40);

        // And back.
        m_settings->setAppTheme(AppThemeMode::Dark);
        m_clock->advance(0);
        QCOMPARE(m_tile.contents.last(), dark);
        for (int row = 0; row < 3; ++row)
            painter.drawImage(column * 128, row * 128, row == 1 ? light : m_tile.contents.last());
        ++column;
    }
    painter.end();
    QVERIFY(sheet.save(QCoreApplication::applicationDirPath() + QStringLiteral("/tile-theme-switch.png")));

    // A badge stays in place; its colour follows the theme too, and the picture after it.
    manager->showBadge("ON", SystemColor::Green, 2.0);
    m_clock->advance(0);
    const QColor darkGreen = m_tile.contents.last().pixelColor(64, 64);
    m_settings->setAppTheme(AppThemeMode::Light);
    m_clock->advance(0);
    QVERIFY(manager->activeBadge());
    QVERIFY(m_tile.contents.last().pixelColor(64, 64) != darkGreen);
    QCOMPARE(m_tile.contents.last().pixelColor(20, 64), QColor(Qt::black));
}

QTEST_MAIN(DockTileManagerTest)
#include "DockTileManagerTest.moc"
