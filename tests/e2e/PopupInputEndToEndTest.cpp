// The popup under a user's real mouse, on an X server with a window manager and the Linux Dock:
// presses held on the folder's tile, and the popup dragged to another place and used there.
#include "dock/DockService.h"
#include "platform/DockFileFormat.h"
#include "platform/FileIcons.h"
#include "platform/PropertyList.h"

#include "DesktopTestCase.h"
#include "FixtureApp.h"
#include "TestFiles.h"
#include "XSession.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace XSession;

namespace {

const QString kFolderID = QStringLiteral("6F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C");
const QString kOtherFolderID = QStringLiteral("0B7E5B52-8E4F-4C1B-9D0A-3C2B1A098765");
// The fixture application's icon: a colour nothing else on the desktop has.
const QColor kIconColour(255, 0, 255);
// The room a popup window keeps around its card for the shadows, and the card's inner padding.
constexpr int kShadowRoom = 24;
constexpr int kInset = 12;

// The bounds of the icon's colour within `area` of a screenshot.
QRect iconBounds(const QImage& shot, const QRect& area) {
    QRect bounds;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor pixel = shot.pixelColor(x, y);
            if (qAbs(pixel.red() - 255) < 24 && pixel.green() < 40 && qAbs(pixel.blue() - 255) < 24)
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

// The level a Trellin window carries (-1 without one).
int levelOf(const QString& window) {
    QProcess xprop;
    xprop.start("xprop", {"-id", window, "_TRELLIN_WINDOW_LEVEL"});
    if (!xprop.waitForFinished(10000))
        return -1;
    bool ok = false;
    const int level = QString::fromUtf8(xprop.readAllStandardOutput()).section(u'=', 1).trimmed().toInt(&ok);
    return ok ? level : -1;
}

// Whether the window manager stacks `upper` above `lower`.
bool isAbove(const QString& upper, const QString& lower) {
    QProcess xprop;
    xprop.start("xprop", {"-root", "_NET_CLIENT_LIST_STACKING"});
    if (!xprop.waitForFinished(10000))
        return false;
    QList<qulonglong> stack; // bottom to top
    for (const QString& id : QString::fromUtf8(xprop.readAllStandardOutput()).section(u'#', 1).split(u','))
        stack.append(id.trimmed().toULongLong(nullptr, 16));
    const qsizetype top = stack.indexOf(upper.toULongLong()), bottom = stack.indexOf(lower.toULongLong());
    return top >= 0 && bottom >= 0 && top > bottom;
}

} // namespace

class PopupInputEndToEndTest : public DesktopTestCase {
    Q_OBJECT

    // Folders Work and Play, each holding the fixture application, and the Dock.
    bool startDock(const QVariantMap& settings = {}) {
        const QString fixture = ::makeFixtureApp(path("Apps/Fixture.app"), QStringLiteral(TRELLIN_FIXTURE_APP));
        QImage icon(128, 128, QImage::Format_ARGB32);
        icon.fill(kIconColour);
        FileIcons::setCustomIcon(icon, fixture);
        const QJsonObject app{{"id", "1A2B3C4D-0000-4000-8000-00000000000A"},
                              {"name", "Fixture"},
                              {"bundleID", "test.Fixture"},
                              {"appURL", QString("file://" + fixture + "/")}};
        QJsonArray folders;
        for (const auto& [id, name] : {std::pair{kFolderID, QStringLiteral("Work")}, {kOtherFolderID, "Play"}})
            folders.append(QJsonObject{{"id", id}, {"name", name}, {"isInDock", true}, {"apps", QJsonArray{app}}});
        QDir().mkpath(path("Library/Preferences"));
        if (!writeFile(path("share/Trellin/folders.json"), QJsonDocument(folders).toJson()) ||
            !PropertyList::writeFileAtomically(path("Library/Preferences/app.trellin.Trellin.plist"), settings,
                                               PropertyList::Format::Xml))
            return false;

        const QString dockFile = DockFileFormat::standardPath(m_home->path());
        QDir().mkpath(QFileInfo(dockFile).path());
        PropertyList::writeFileAtomically(dockFile, QVariantMap{{"tilesize", 48}}, PropertyList::Format::Binary);
        startProgram(QStringLiteral(TRELLIN_DOCK_EXE));
        return QTest::qWaitFor(
            [&] { return m_connection.interface()->isServiceRegistered("app.trellin.Dock").value(); }, 10000);
    }

    QString helperBundle(const QString& name) const { return path("share/Trellin/Helpers/" + name + ".app"); }

    // The helper of a folder as the main application starts it; returns its tile once the Dock
    // shows it.
    QRect startHelper(const QString& folderID, const QString& name) {
        const QString bundle = helperBundle(name);
        QDir().mkpath(path("share/Trellin/Helpers"));
        QProcess::execute("cp", {"-a", TRELLIN_BUNDLE_DIR, bundle});
        auto info = PropertyList::readFile(bundle + "/Contents/Info.plist").value().root.toMap();
        info.insert("TRGroupUUID", folderID);
        info.insert("CFBundleName", name);
        PropertyList::writeFileAtomically(bundle + "/Contents/Info.plist", info, PropertyList::Format::Xml);
        startProgram(bundle + "/Contents/MacOS/Trellin", {"-group", folderID});

        if (!QTest::qWaitFor([&] { return !helperTile(name).isEmpty(); }, 15000))
            return {};
        // The tile settles once the Dock has laid out every tile.
        QTest::qWait(500);
        return helperTile(name);
    }

    QRect startDockAndHelper() { return startDock() ? startHelper(kFolderID, "Work") : QRect(); }

    QRect helperTile(const QString& name) {
        const QDBusMessage reply = m_connection.call(
            QDBusMessage::createMethodCall("app.trellin.Dock", "/app/trellin/Dock", "app.trellin.Dock", "Tiles"));
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return {};
        for (const DockTileRecord& tile : qdbus_cast<QList<DockTileRecord>>(reply.arguments().at(0)))
            if (tile.path == helperBundle(name) && tile.running)
                return tile.geometry;
        return {};
    }

    // Clicks the tile and waits for the popup to stand still; returns its window.
    QString openFromTile(const QRect& tile, const QString& name = QStringLiteral("Work")) {
        QString window;
        if (!moveMouse(tile.center()) || !run({"click", "1"}) ||
            !QTest::qWaitFor([&] { return !(window = windowTitled(name)).isEmpty(); }, 10000))
            return {};
        QTest::qWait(500);
        return window;
    }

    // Presses on the card's own background, moves by `by` in steps as a hand does, and lets go.
    static bool drag(const QRect& popup, QPoint by) {
        const QPoint from(popup.x() + kShadowRoom + kInset / 2, popup.y() + kShadowRoom + 40);
        if (!moveMouse(from) || !run({"mousedown", "1"}))
            return false;
        constexpr int steps = 10;
        for (int i = 1; i <= steps; ++i) {
            QTest::qWait(20);
            if (!moveMouse(from + by * i / steps))
                return false;
        }
        QTest::qWait(50);
        return run({"mouseup", "1"});
    }

private Q_SLOTS:
    void init() { setUpDesktop(); }
    void cleanup() { tearDownDesktop(); }

    void aPressOnTheTileClosesThePopupHoweverLongItIsHeld();
    void aDraggedPopupWorksWhereItWasPut();
    void aPinnedPopupStaysAboveAnotherHelpersPopup();
};

void PopupInputEndToEndTest::aPressOnTheTileClosesThePopupHoweverLongItIsHeld() {
    const QRect tile = startDockAndHelper();
    QVERIFY2(tile.isValid(), "the helper's tile did not appear in the Dock");
    QVERIFY(!openFromTile(tile).isEmpty());

    // Held for 400 ms: the press closes the popup, and the Dock's reopen at the release does not
    // bring it back.
    for (const int held : {400, 1200}) {
        QVERIFY(run({"mousedown", "1"}));
        QTRY_VERIFY_WITH_TIMEOUT(windowTitled("Work").isEmpty(), 5000);
        QTest::qWait(held);
        QVERIFY(run({"mouseup", "1"}));
        QTest::qWait(1000);
        QVERIFY2(windowTitled("Work").isEmpty(), qPrintable(QStringLiteral("reopened after %1 ms").arg(held)));

        // The next click opens it again.
        QVERIFY(!openFromTile(tile).isEmpty());
    }
    // A quick click closes it too.
    QVERIFY(run({"click", "1"}));
    QTest::qWait(1000);
    QVERIFY(windowTitled("Work").isEmpty());
}

void PopupInputEndToEndTest::aDraggedPopupWorksWhereItWasPut() {
    const QRect tile = startDockAndHelper();
    QVERIFY2(tile.isValid(), "the helper's tile did not appear in the Dock");
    QString window = openFromTile(tile);
    QVERIFY(!window.isEmpty());
    const QRect placed = geometryOf(window);
    const QPoint by(-250, -300);

    // Dragged up and to the left, its icon launches where it now is.
    QVERIFY(drag(placed, by));
    QTRY_COMPARE_WITH_TIMEOUT(geometryOf(window), placed.translated(by), 5000);
    QTest::qWait(300);
    const QRect icon = iconBounds(saveScreen("popup-e2e-dragged.png"), placed.translated(by));
    QVERIFY2(icon.width() > 20, "the dragged popup shows no icon of the fixture");
    QVERIFY(moveMouse(icon.center()));
    QVERIFY(run({"click", "1"}));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(launchLog()), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(windowTitled("Work").isEmpty(), 5000);

    // Opened again, it stands at its tile; dragged away, a click where it was closes it.
    QTest::qWait(300);
    QVERIFY(!(window = openFromTile(tile)).isEmpty());
    QCOMPARE(geometryOf(window), placed);
    QVERIFY(drag(placed, by));
    QTRY_COMPARE_WITH_TIMEOUT(geometryOf(window), placed.translated(by), 5000);
    QVERIFY(moveMouse(placed.center()));
    QVERIFY(run({"click", "1"}));
    QTRY_VERIFY_WITH_TIMEOUT(windowTitled("Work").isEmpty(), 5000);
}

void PopupInputEndToEndTest::aPinnedPopupStaysAboveAnotherHelpersPopup() {
    // Centred popups carry a pin, and two of them of one application each cover each other.
    QVERIFY(startDock({{"popupPosition", "center"}, {"popupAnimationStyle", "none"}}));
    startHelper(kFolderID, "Work");
    const QRect play = startHelper(kOtherFolderID, "Play");
    // Play's tile came after Work's and may have moved it.
    const QRect work = helperTile("Work");
    QVERIFY2(work.isValid() && play.isValid(), "the helpers' tiles did not appear in the Dock");

    // Work's popup, pinned from the keyboard: Tab from the grid reaches "Open all", then the pin.
    const QString pinned = openFromTile(work, "Work");
    QVERIFY(!pinned.isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(xdotool({"getwindowfocus"}), pinned, 5000);
    QVERIFY(run({"key", "Tab", "Tab", "space"}));
    QTRY_COMPARE_WITH_TIMEOUT(levelOf(pinned), 25, 5000);

    // Play's popup opens over it and is activated, and Work's pinned popup stays open above it.
    const QString unpinned = openFromTile(play, "Play");
    QVERIFY(!unpinned.isEmpty());
    QCOMPARE(levelOf(unpinned), 3);
    QVERIFY(geometryOf(unpinned).intersected(geometryOf(pinned)).width() > geometryOf(pinned).width() * 9 / 10);
    QTRY_VERIFY_WITH_TIMEOUT(isAbove(pinned, unpinned), 5000);
    QVERIFY(!windowTitled("Work").isEmpty());
    saveScreen("popup-e2e-pinned-above.png");

    // Whatever raises the unpinned one again (a click on it, the window manager), the pinned one
    // comes back on top.
    QVERIFY(run({"windowraise", unpinned}));
    QTRY_VERIFY_WITH_TIMEOUT(isAbove(pinned, unpinned), 5000);
}

QTEST_MAIN(PopupInputEndToEndTest)
#include "PopupInputEndToEndTest.moc"
