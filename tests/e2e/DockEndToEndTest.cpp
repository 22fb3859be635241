// The road of one event on a desktop: the Linux Dock, the main application and its helper as
// real processes on a private bus, under a window manager, driven with the mouse and keyboard.
// A folder in the Dock shows its drawn tile, is kept, opens its popup, launches an application,
// and leaves the Dock again.
#include "dock/DockService.h"
#include "helpers/HelperManager.h"
#include "model/FolderCodec.h"
#include "model/FolderStore.h"
#include "model/HelperLaunchLog.h"
#include "platform/Bundle.h"
#include "platform/DockFileFormat.h"
#include "platform/FileIcons.h"
#include "platform/LocalNotificationCenter.h"
#include "platform/NotificationNames.h"
#include "platform/PropertyList.h"
#include "platform/linux/DBusDistributedNotifications.h"
#include "platform/linux/MainQueueScheduler.h"
#include "platform/linux/PlistPreferenceDomain.h"
#include "platform/linux/SystemClock.h"

#include "CapturedSystemLog.h"

#include "DesktopTestCase.h"
#include "FixtureApp.h"
#include "TestFiles.h"
#include "XSession.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

using namespace XSession;

namespace {

const QString kFolderID = QStringLiteral("6F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C");
// The fixture application's icon: a colour nothing else on the desktop has.
const QColor kIconColour(255, 0, 255);
constexpr int kTileSize = 48;
constexpr int kReserved = kTileSize + 18;
constexpr int kSideDockGap = 11;

// A second application's icon, told apart from the first.
const QColor kSecondIconColour(0, 200, 255);

int pixelsNear(const QImage& image, const QRect& area, const QColor& colour) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (qAbs(pixel.red() - colour.red()) < 24 && qAbs(pixel.green() - colour.green()) < 40 &&
                qAbs(pixel.blue() - colour.blue()) < 24)
                ++count;
        }
    }
    return count;
}

int pixelsOfIconColour(const QImage& image, const QRect& area) {
    return pixelsNear(image, area, kIconColour);
}

// The smallest rectangle around the icon's colour within `area`.
QRect iconColourBounds(const QImage& image, const QRect& area) {
    QRect bounds;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (pixelsOfIconColour(image, QRect(x, y, 1, 1)) > 0)
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

} // namespace

class DockEndToEndTest : public DesktopTestCase {
    Q_OBJECT
    QString dockFile() const { return DockFileFormat::standardPath(m_home->path()); }
    QString helperBundle() const { return path("share/Trellin/Helpers/Work.app"); }

    QString makeFixtureApp() {
        const QString bundle = ::makeFixtureApp(path("Apps/Fixture.app"), QStringLiteral(TRELLIN_FIXTURE_APP));
        QImage icon(128, 128, QImage::Format_ARGB32);
        icon.fill(kIconColour);
        FileIcons::setCustomIcon(icon, bundle);
        return bundle;
    }

    // Two desktop entries of this home, their icons in its hicolor theme, the first one starting
    // the fixture program. The folder holds both, as the picker adds them.
    void writeDesktopEntryFolder() {
        QVERIFY(writeFile(path("share/icons/hicolor/index.theme"),
                          "[Icon Theme]\nName=Hicolor\nDirectories=48x48/apps\n\n[48x48/apps]\nSize=48\nType=Fixed\n"));
        QVERIFY(QDir().mkpath(path("share/icons/hicolor/48x48/apps")) && QDir().mkpath(path("bin")));
        QJsonArray apps;
        for (const auto& [name, colour] :
             {std::pair{QString("One"), kIconColour}, {QString("Two"), kSecondIconColour}}) {
            QImage icon(48, 48, QImage::Format_ARGB32);
            icon.fill(colour);
            QVERIFY(icon.save(path("share/icons/hicolor/48x48/apps/trellin-e2e-" + name.toLower() + ".png")));
            const QString entry = path("share/applications/org.example." + name + ".desktop");
            QVERIFY(writeFile(entry, "[Desktop Entry]\nType=Application\nName=" + name.toUtf8() +
                                         "\nIcon=trellin-e2e-" + name.toLower().toUtf8() +
                                         "\nExec=" + path("bin/fixture").toUtf8() +
                                         " --entry=" + name.toLower().toUtf8() + " %U\nStartupNotify=true\n"));
            apps.append(QJsonObject{{"id", QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper()},
                                    {"name", name},
                                    {"bundleID", QString("org.example." + name)},
                                    {"appURL", QString("file://" + entry)}});
        }
        QVERIFY(QFile::copy(QStringLiteral(TRELLIN_FIXTURE_APP), path("bin/fixture")));
        const QJsonObject folder{{"id", kFolderID}, {"name", "Work"}, {"isInDock", true}, {"apps", apps}};
        QVERIFY(writeFile(path("share/Trellin/folders.json"), QJsonDocument(QJsonArray{folder}).toJson()));
    }

    void writeFolders(const QString& app) {
        const QJsonObject item{{"id", "1A2B3C4D-0000-4000-8000-00000000000A"},
                               {"name", "Fixture"},
                               {"bundleID", "test.Fixture"},
                               {"appURL", QString("file://" + app + "/")}};
        const QJsonObject folder{
            {"id", kFolderID}, {"name", "Work"}, {"isInDock", true}, {"apps", QJsonArray{QJsonValue(item)}}};
        QVERIFY(writeFile(path("share/Trellin/folders.json"), QJsonDocument(QJsonArray{folder}).toJson()));
    }

    QJsonObject storedFolder() const {
        return QJsonDocument::fromJson(readFile(path("share/Trellin/folders.json"))).array().at(0).toObject();
    }

    void startDesktop(const QVariantMap& dockPreferences) {
        QDir().mkpath(QFileInfo(dockFile()).path());
        QVERIFY(PropertyList::writeFileAtomically(dockFile(), dockPreferences, PropertyList::Format::Binary));
        startProgram(QStringLiteral(TRELLIN_DOCK_EXE));
        QVERIFY(QTest::qWaitFor(
            [&] { return m_connection.interface()->isServiceRegistered("app.trellin.Dock").value(); }, 10000));
        startProgram(QStringLiteral(TRELLIN_BUNDLE_DIR "/Contents/MacOS/Trellin"));
    }

    // What the window manager and the Dock's windows say, for a failure to be understood.
    static void describeSession() {
        QProcess::execute("sh", {"-c", "xprop -root _NET_WORKAREA _NET_SUPPORTING_WM_CHECK; "
                                       "for w in $(xdotool search --class trellin-dock); do "
                                       "xdotool getwindowgeometry $w; "
                                       "xprop -id $w _NET_WM_WINDOW_TYPE _NET_WM_STRUT_PARTIAL WM_STATE; done"});
    }

    QList<DockTileRecord> tiles() {
        const QDBusMessage reply = m_connection.call(
            QDBusMessage::createMethodCall("app.trellin.Dock", "/app/trellin/Dock", "app.trellin.Dock", "Tiles"));
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return {};
        return qdbus_cast<QList<DockTileRecord>>(reply.arguments().at(0));
    }

    std::optional<DockTileRecord> helperTile() {
        for (const DockTileRecord& tile : tiles()) {
            if (tile.path == helperBundle() && tile.running)
                return tile;
        }
        return std::nullopt;
    }

    bool dockKeeps(const QString& bundle) const {
        const auto document = PropertyList::readFile(dockFile());
        if (!document)
            return false;
        for (const QVariant& entry : document->root.toMap().value(DockFileFormat::persistentAppsKey).toList()) {
            if (DockFileFormat::tileFilePath(entry.toMap()) == bundle)
                return true;
        }
        return false;
    }

    // Right-clicks the tile and picks the menu's `position`th item, as a user does with the keys.
    void chooseFromMenu(const QRect& tile, int position) {
        QVERIFY(moveMouse(tile.center()));
        QVERIFY(run({"click", "3"}));
        QTest::qWait(500);
        for (int i = 0; i < position; ++i)
            QVERIFY(run({"key", "Down"}));
        QVERIFY(run({"key", "Return"}));
    }

    // The helper's tile, once it shows the picture the helper drew of its folder.
    DockTileRecord drawnHelperTile() {
        std::optional<DockTileRecord> tile;
        if (!QTest::qWaitFor([&] { return (tile = helperTile()).has_value(); }, 30000))
            return {};
        // The main application's own tile may register after the helper's and move it along: wait for
        // it, and read the helper's place again at every look.
        const auto mainApplicationShown = [&] {
            const QList<DockTileRecord> shown = tiles();
            return std::any_of(shown.begin(), shown.end(), [](const DockTileRecord& record) {
                return record.running && QFileInfo(record.path) == QFileInfo(QStringLiteral(TRELLIN_BUNDLE_DIR));
            });
        };
        if (!QTest::qWaitFor(mainApplicationShown, 10000))
            return {};
        const auto drawn = [&] {
            tile = helperTile();
            return tile &&
                   pixelsOfIconColour(QGuiApplication::primaryScreen()->grabWindow(0).toImage(), tile->geometry) > 20;
        };
        return QTest::qWaitFor(drawn, 10000) ? *tile : DockTileRecord{};
    }

private Q_SLOTS:
    void init() {
        setUpDesktop();
        writeFolders(makeFixtureApp());
    }

    void cleanup() {
        tearDownDesktop();
        QProcess::execute("pkill", {"-f", path("bin/fixture")});
    }

    void aFolderGoesIntoTheDockIsUsedAndLeaves();
    void desktopEntriesShowTheirIconsAndLaunch();
    void sideDocksKeepThePopupBesideThem_data();
    void sideDocksKeepThePopupBesideThem();
    void aFullDockFitsAndNamesTheTileUnderThePointer();
    void aKeptTileStaysThroughRenameAndLeavesWithTheFolder_data();
    void aKeptTileStaysThroughRenameAndLeavesWithTheFolder();
};

void DockEndToEndTest::aFolderGoesIntoTheDockIsUsedAndLeaves() {
    startDesktop({{"tilesize", kTileSize}});
    if (QTest::currentTestFailed())
        return;
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    // The window manager takes the Dock's strip out of the work area.
    if (!QTest::qWaitFor([&] { return workArea() == screen.adjusted(0, 0, 0, -kReserved); }, 10000))
        describeSession();
    QCOMPARE(workArea(), screen.adjusted(0, 0, 0, -kReserved));

    // The folder's helper stands in the Dock with the tile it drew of the fixture's icon.
    const DockTileRecord tile = drawnHelperTile();
    QVERIFY2(tile.geometry.isValid(), "the helper's drawn tile did not appear in the Dock");
    QCOMPARE(tile.label, "Work");
    QCOMPARE(tile.geometry.bottom(), screen.bottom() - 12);
    saveScreen("dock-e2e-folder-tile.png");

    // Keep in Dock: the Dock's file lists the helper for the main application to find.
    chooseFromMenu(tile.geometry, 1);
    QTRY_VERIFY_WITH_TIMEOUT(dockKeeps(helperBundle()), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(helperTile() && helperTile()->pinned, 5000);
    const DockTileRecord kept = *helperTile();

    // A click on the tile opens the popup above the Dock, its arrow at the tile.
    QVERIFY(moveMouse(kept.geometry.center()));
    QVERIFY(run({"click", "1"}));
    QString popup;
    QTRY_VERIFY_WITH_TIMEOUT(!(popup = windowTitled("Work")).isEmpty(), 10000);
    QTest::qWait(600);
    const QRect panel = geometryOf(popup);
    QVERIFY2(panel.bottom() < screen.bottom() - kReserved, "the popup covers the Dock");
    QVERIFY(qAbs(panel.center().x() - kept.geometry.center().x()) <= 1);
    const QImage shot = saveScreen("dock-e2e-popup.png");

    // A click on the application's icon launches it, and the unpinned popup closes.
    const QRect icon = iconColourBounds(shot, panel);
    QVERIFY2(icon.width() > 20, "the popup shows no icon of the fixture");
    QVERIFY(moveMouse(icon.center()));
    QVERIFY(run({"click", "1"}));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(launchLog()), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(windowTitled("Work").isEmpty(), 5000);

    // Remove from Dock, then Quit: the main application takes the folder out of the Dock and
    // deletes its helper.
    QTest::qWait(300);
    chooseFromMenu(kept.geometry, 1);
    QTRY_VERIFY_WITH_TIMEOUT(!dockKeeps(helperBundle()), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(helperTile() && !helperTile()->pinned, 5000);

    // The main application took the folder out at the Dock's word; Quit ends what is left.
    if (const std::optional<DockTileRecord> left = helperTile())
        chooseFromMenu(left->geometry, 2);
    QTRY_VERIFY_WITH_TIMEOUT(!helperTile(), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(storedFolder().value("isInDock").toBool(true), false, 20000);
    QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(helperBundle()), 10000);
}

void DockEndToEndTest::desktopEntriesShowTheirIconsAndLaunch() {
    writeDesktopEntryFolder();
    startDesktop({{"tilesize", kTileSize}});
    if (QTest::currentTestFailed())
        return;
    // The helper's tile shows both applications' theme icons.
    const DockTileRecord tile = drawnHelperTile();
    QVERIFY2(tile.geometry.isValid(), "the helper's tile shows no icon of the first desktop entry");
    QVERIFY(pixelsNear(saveScreen("dock-e2e-desktop-entries-tile.png"), tile.geometry, kSecondIconColour) > 20);

    // The popup shows them too, and a click on the first starts its Exec line.
    QVERIFY(moveMouse(tile.geometry.center()));
    QVERIFY(run({"click", "1"}));
    QString popup;
    QTRY_VERIFY_WITH_TIMEOUT(!(popup = windowTitled("Work")).isEmpty(), 10000);
    QTest::qWait(600);
    const QRect panel = geometryOf(popup);
    const QImage shot = saveScreen("dock-e2e-desktop-entries-popup.png");
    QVERIFY(pixelsNear(shot, panel, kSecondIconColour) > 100);
    const QRect icon = iconColourBounds(shot, panel);
    QVERIFY2(icon.width() > 20, "the popup shows no icon of the first desktop entry");
    QVERIFY(moveMouse(icon.center()));
    QVERIFY(run({"click", "1"}));
    // It was announced to the desktop and given the id to end the announcement with.
    QTRY_VERIFY_WITH_TIMEOUT(readFile(launchLog()).startsWith("--entry=one DESKTOP_STARTUP_ID="), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(windowTitled("Work").isEmpty(), 5000);
}

void DockEndToEndTest::sideDocksKeepThePopupBesideThem_data() {
    QTest::addColumn<QString>("orientation");
    QTest::newRow("left") << "left";
    QTest::newRow("right") << "right";
}

void DockEndToEndTest::sideDocksKeepThePopupBesideThem() {
    QFETCH(QString, orientation);
    startDesktop({{"tilesize", kTileSize}, {"orientation", orientation}, {"magnification", true}, {"largesize", 80}});
    if (QTest::currentTestFailed())
        return;
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const bool left = orientation == "left";
    const QRect reserved = left ? screen.adjusted(kReserved, 0, 0, 0) : screen.adjusted(0, 0, -kReserved, 0);
    if (!QTest::qWaitFor([&] { return workArea() == reserved; }, 10000))
        describeSession();
    QCOMPARE(workArea(), reserved);
    const DockTileRecord tile = drawnHelperTile();
    QVERIFY2(tile.geometry.isValid(), "the helper's drawn tile did not appear in the Dock");

    // Under the pointer the tile grows to the magnified size, away from the edge.
    QVERIFY(moveMouse(tile.geometry.center()));
    QTRY_COMPARE_WITH_TIMEOUT(helperTile()->geometry.width(), 80, 5000);
    const QRect magnified = helperTile()->geometry;
    QCOMPARE(left ? magnified.left() : magnified.right(), left ? 12 : screen.right() - 12);
    saveScreen("dock-e2e-" + orientation + "-magnified.png");

    QVERIFY(run({"click", "1"}));
    QString popup;
    QTRY_VERIFY_WITH_TIMEOUT(!(popup = windowTitled("Work")).isEmpty(), 10000);
    QTest::qWait(600);
    const QRect panel = geometryOf(popup);
    if (left)
        QCOMPARE(panel.left(), kReserved + kSideDockGap);
    else
        QCOMPARE(panel.right() + 1, screen.width() - kReserved - kSideDockGap);
    saveScreen("dock-e2e-" + orientation + "-popup.png");

    // The main application's own tile, kept and then dragged off the bar, leaves the Dock again.
    const QString trellin = QStringLiteral(TRELLIN_BUNDLE_DIR);
    const auto trellinTile = [&]() -> std::optional<DockTileRecord> {
        for (const DockTileRecord& record : tiles())
            if (record.path == trellin)
                return record;
        return std::nullopt;
    };
    QVERIFY(trellinTile());
    // It shows the application's icon, which its bundle names (a coral cell of its grid).
    QVERIFY(pixelsNear(QGuiApplication::primaryScreen()->grabWindow(0).toImage(), trellinTile()->geometry,
                       QColor(0xFF, 0x7A, 0x59)) > 20);
    chooseFromMenu(trellinTile()->geometry, 1);
    QTRY_VERIFY_WITH_TIMEOUT(dockKeeps(trellin), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(trellinTile() && trellinTile()->pinned, 5000);
    QVERIFY(moveMouse(trellinTile()->geometry.center()));
    QVERIFY(run({"mousedown", "1"}));
    for (const int x : {left ? 100 : 1180, left ? 300 : 980, 640})
        QVERIFY(moveMouse({x, screen.center().y()}));
    QVERIFY(run({"mouseup", "1"}));
    QTRY_VERIFY_WITH_TIMEOUT(!dockKeeps(trellin), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(trellinTile() && !trellinTile()->pinned, 5000);
}

// Eleven kept tiles of 124 pixels are longer than the screen: the Dock shrinks them to fit. With
// the pointer on a tile, its name from the Dock's file (not the bundle's) stands above it.
void DockEndToEndTest::aFullDockFitsAndNamesTheTileUnderThePointer() {
    QVariantList kept;
    for (int i = 0; i < 11; ++i) {
        const QString bundle =
            ::makeFixtureApp(path(QString("Apps/App%1.app").arg(i)), QStringLiteral(TRELLIN_FIXTURE_APP));
        QImage icon(128, 128, QImage::Format_ARGB32);
        icon.fill(QColor::fromHsv(i * 30, 200, 230));
        FileIcons::setCustomIcon(icon, bundle);
        kept.append(DockFileFormat::applicationTile(bundle, QString("Tile number %1").arg(i), "test.Fixture"));
    }
    QDir().mkpath(QFileInfo(dockFile()).path());
    QVERIFY(PropertyList::writeFileAtomically(dockFile(), QVariantMap{{"tilesize", 124}, {"persistent-apps", kept}},
                                              PropertyList::Format::Binary));
    startProgram(QStringLiteral(TRELLIN_DOCK_EXE));
    QTRY_COMPARE_WITH_TIMEOUT(tiles().size(), 11, 10000);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QList<DockTileRecord> shown = tiles();
    for (const DockTileRecord& tile : shown) {
        QVERIFY2(screen.contains(tile.geometry), qPrintable(tile.label));
        QVERIFY(tile.geometry.width() < 124);
    }
    // The strip the Dock keeps follows its thinner tiles.
    QTRY_COMPARE_WITH_TIMEOUT(workArea(), screen.adjusted(0, 0, 0, -(shown.at(0).geometry.width() + 18)), 10000);
    saveScreen("dock-e2e-full-dock.png");

    const DockTileRecord third = shown.at(3);
    QCOMPARE(third.label, "Tile number 3");
    QVERIFY(moveMouse(third.geometry.center() + QPoint(1, 0)));
    QVERIFY(moveMouse(third.geometry.center()));
    QString label;
    QTRY_VERIFY_WITH_TIMEOUT(!(label = windowTitled("Tile number 3")).isEmpty(), 5000);
    const QRect plate = geometryOf(label);
    QVERIFY2(plate.bottom() < third.geometry.top() && plate.bottom() > third.geometry.top() - 30,
             "the label does not stand above its tile");
    QVERIFY(qAbs(plate.center().x() - third.geometry.center().x()) <= 1);
    saveScreen("dock-e2e-hover-label.png");

    // On to the next tile the label follows; off the Dock it goes.
    QVERIFY(moveMouse(shown.at(4).geometry.center()));
    QTRY_VERIFY_WITH_TIMEOUT(!windowTitled("Tile number 4").isEmpty(), 5000);
    QVERIFY(windowTitled("Tile number 3").isEmpty());
    QVERIFY(moveMouse(screen.center()));
    QTRY_VERIFY_WITH_TIMEOUT(windowTitled("Tile number 4").isEmpty(), 5000);
}

void DockEndToEndTest::aKeptTileStaysThroughRenameAndLeavesWithTheFolder_data() {
    QTest::addColumn<QString>("theme");
    QTest::newRow("light") << "light";
    QTest::newRow("dark") << "dark";
}

// The main application's folder store and helper manager, in this process, with the Dock and the
// helpers as real processes: the folder is switched into the Dock, renamed, then deleted.
void DockEndToEndTest::aKeptTileStaysThroughRenameAndLeavesWithTheFolder() {
    QFETCH(QString, theme);
    const QString fixture = path("Apps/Fixture.app");
    AppFolder folder = FolderCodec::decode(readFile(path("share/Trellin/folders.json")), 0).value().first();
    folder.isInDock = false;
    QVERIFY(writeFile(path("share/Trellin/folders.json"), FolderCodec::encode({folder}).value()));
    QDir().mkpath(QFileInfo(dockFile()).path());
    QVERIFY(PropertyList::writeFileAtomically(path("Library/Preferences/app.trellin.Trellin.plist"),
                                              QVariantMap{{"appTheme", theme}}, PropertyList::Format::Xml));
    // An application the user keeps, before the folder's tile.
    const QVariantMap preferences{
        {"tilesize", kTileSize},
        {"persistent-apps", QVariantList{DockFileFormat::applicationTile(fixture, "Fixture", "test.Fixture")}}};
    QVERIFY(PropertyList::writeFileAtomically(dockFile(), preferences, PropertyList::Format::Binary));
    startProgram(QStringLiteral(TRELLIN_DOCK_EXE));
    QVERIFY(QTest::qWaitFor([&] { return m_connection.interface()->isServiceRegistered("app.trellin.Dock").value(); },
                            10000));

    // This process stands for the main application, whose notifications the helpers take.
    QVERIFY(m_connection.interface()->registerService("app.trellin.Trellin").isValid());
    // The helpers this process starts live in the test's home and on its bus.
    for (const auto& [name, value] : {std::pair{"HOME", m_home->path()},
                                      {"XDG_DATA_HOME", path("share")},
                                      {"DBUS_SESSION_BUS_ADDRESS", m_bus->address()},
                                      {"TRELLIN_FIXTURE_LOG", launchLog()}})
        qputenv(name, value.toLocal8Bit());
    SystemClock clock;
    MainQueueScheduler scheduler;
    LinuxWorkspace workspace;
    workspace.setBus(m_connection);
    DBusDistributedNotifications distributed(m_connection);
    LocalNotificationCenter local;
    CapturedSystemLog log;
    PlistPreferenceDomain dock(path("Library/Preferences"), DockFileFormat::domainName);
    const Bundle app(QStringLiteral(TRELLIN_BUNDLE_DIR));
    HelperLaunchLog launches(clock);
    HelperManager helpers({.clock = clock,
                           .scheduler = scheduler,
                           .workspace = workspace,
                           .distributedNotifications = distributed,
                           .localNotifications = local,
                           .systemLog = log,
                           .dockDomain = dock,
                           .mainBundle = app,
                           .launchLog = launches,
                           .applicationSupportDirectory = path("share"),
                           .dockPreferencesPath = dockFile(),
                           .signingTool = QStringLiteral(TRELLIN_BUNDLE_DIR "/Contents/MacOS/trellin-codesign")});
    FolderStore store(path("share"), {.clock = clock,
                                      .scheduler = scheduler,
                                      .notifications = local,
                                      .helpers = helpers,
                                      .launchLog = launches,
                                      .isHelperProcess = [] { return false; }});
    store.load();

    const auto tileOf = [&](const QString& bundle) -> std::optional<DockTileRecord> {
        for (const DockTileRecord& tile : tiles())
            if (tile.path == bundle)
                return tile;
        return std::nullopt;
    };
    // The whole screen, and the Dock's bar three times as large, for a person to look at.
    const auto saveDock = [&](const QString& name) {
        QRect bar;
        for (const DockTileRecord& tile : tiles())
            bar |= tile.geometry;
        const QImage shot = saveScreen(name + ".png");
        shot.copy(bar.adjusted(-24, -12, 24, 12))
            .scaled(bar.size().grownBy({24, 12, 24, 12}) * 3)
            .save(QCoreApplication::applicationDirPath() + u'/' + name + "-dock.png");
    };
    // Kept, running, and showing the picture its helper drew (the "ON" badge gone again).
    const auto keptAndDrawn = [&](const QString& bundle) {
        const std::optional<DockTileRecord> tile = tileOf(bundle);
        return tile && tile->pinned && tile->running &&
               pixelsOfIconColour(QGuiApplication::primaryScreen()->grabWindow(0).toImage(), tile->geometry) > 20;
    };

    // Switched into the Dock: the tile is kept at the end of the Dock's list.
    folder.isInDock = true;
    store.updateFolder(folder);
    const QString work = helperBundle();
    QTRY_VERIFY_WITH_TIMEOUT(keptAndDrawn(work), 30000);
    QTest::qWait(2500);
    QVERIFY(dockKeeps(work));
    const QRect place = tileOf(work)->geometry;
    QVERIFY(tileOf(fixture)->geometry.left() < place.left());
    saveDock("dock-e2e-kept-before-rename-" + theme);

    // Renamed: the tile stays where it was and leads to the new helper.
    folder.name = "Projects";
    store.updateFolder(folder);
    const QString projects = path("share/Trellin/Helpers/Projects.app");
    QTRY_VERIFY_WITH_TIMEOUT(keptAndDrawn(projects), 30000);
    QTRY_VERIFY_WITH_TIMEOUT(!tileOf(work), 10000);
    QTest::qWait(2500);
    QCOMPARE(tileOf(projects)->geometry, place);
    QCOMPARE(tileOf(projects)->label, "Projects");
    QVERIFY(dockKeeps(projects) && !dockKeeps(work));
    saveDock("dock-e2e-kept-after-rename-" + theme);

    // Deleted as the main window deletes a folder in the Dock: its badge, then tile and helper go.
    distributed.post(NotificationName::TRFolderDeleteBadge, {}, {{"id", kFolderID}});
    store.deleteFolder(folder.id, FolderStore::dockRemovalDelay);
    QTest::qWait(700);
    saveDock("dock-e2e-kept-deleting-" + theme);
    QTRY_VERIFY_WITH_TIMEOUT(!tileOf(projects), 10000);
    QVERIFY(!dockKeeps(projects));
    QVERIFY(!QFileInfo::exists(projects));
    QCOMPARE(tileOf(fixture)->pinned, true);
    QTest::qWait(300);
    saveDock("dock-e2e-kept-after-delete-" + theme);
}

QTEST_MAIN(DockEndToEndTest)
#include "DockEndToEndTest.moc"
