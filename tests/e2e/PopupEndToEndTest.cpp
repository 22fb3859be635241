// The folder popup as a user meets it, on a real X server with a window manager: helpers of two
// folders on a private bus, each reopened over D-Bus the way a click on its Dock tile reopens it,
// and the mouse and keyboard driven with xdotool.
#include "platform/PropertyList.h"
#include "platform/linux/LinuxApplication.h"

#include "DesktopTestCase.h"
#include "FixtureApp.h"
#include "TestFiles.h"
#include "XSession.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

#include <csignal>

using namespace XSession;

namespace {

const QString kBundleID = QStringLiteral("app.trellin.Trellin");
const QString kFolderA = QStringLiteral("6F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C");
// The room a popup window keeps around its card for the shadows.
constexpr int PopupLayoutMargin = 24;
const QString kFolderB = QStringLiteral("0B7E5B52-8E4F-4C1B-9D0A-3C2B1A098765");

// Folders Alpha and Beta, both in the Dock, each holding the one application.
QByteArray foldersOfOneApp(const QString& bundle) {
    const QString app = QStringLiteral("{\"id\":\"1A2B3C4D-0000-4000-8000-00000000000A\",\"name\":\"Fixture\","
                                       "\"bundleID\":\"test.Fixture\",\"appURL\":\"file://%1/\"}")
                            .arg(bundle);
    const QString folder = QStringLiteral("{\"id\":\"%1\",\"name\":\"%2\",\"isInDock\":true,\"apps\":[%3]}");
    return ("[" + folder.arg(kFolderA, "Alpha", app) + "," + folder.arg(kFolderB, "Beta", app) + "]").toUtf8();
}

// Folder Alpha in the Dock with `count` applications: every one missing but the last, the fixture.
QByteArray folderOfMany(const QString& bundle, int count) {
    QStringList apps;
    for (int i = 0; i < count; ++i) {
        const bool last = i == count - 1;
        apps.append(QStringLiteral("{\"id\":\"%1\",\"name\":\"%2\",\"bundleID\":\"test.App%3\",\"appURL\":\"%4\"}")
                        .arg(QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper(),
                             last ? QStringLiteral("Fixture") : QStringLiteral("Missing %1").arg(i), QString::number(i),
                             last ? QStringLiteral("file://%1/").arg(bundle)
                                  : QStringLiteral("file:///nonexistent/Missing%1.app/").arg(i)));
    }
    return QStringLiteral("[{\"id\":\"%1\",\"name\":\"Alpha\",\"isInDock\":true,\"apps\":[%2]}]")
        .arg(kFolderA, apps.join(u','))
        .toUtf8();
}

} // namespace

class PopupEndToEndTest : public DesktopTestCase {
    Q_OBJECT

    // An application bundle whose executable records its launches.
    QString makeFixtureApp() {
        return ::makeFixtureApp(path(QStringLiteral("Apps/Fixture.app")), QStringLiteral(TRELLIN_FIXTURE_APP));
    }

    void writeSettings(const QVariantMap& values) {
        QDir().mkpath(path("Library/Preferences"));
        QVERIFY(PropertyList::writeFileAtomically(path("Library/Preferences/" + kBundleID + ".plist"), values,
                                                  PropertyList::Format::Xml));
    }

    // A helper bundle of the built application for a folder, started as the main application
    // starts it; returns once it answers on the bus.
    void startHelper(const QString& folderID, const QString& name) {
        const QString bundle = path("share/Trellin/Helpers/" + name + ".app");
        QDir().mkpath(path("share/Trellin/Helpers"));
        QCOMPARE(QProcess::execute("cp", {"-a", TRELLIN_BUNDLE_DIR, bundle}), 0);
        auto info = PropertyList::readFile(bundle + "/Contents/Info.plist").value().root.toMap();
        info.insert("TRGroupUUID", folderID);
        info.insert("CFBundleName", name);
        QVERIFY(PropertyList::writeFileAtomically(bundle + "/Contents/Info.plist", info, PropertyList::Format::Xml));

        startProgram(bundle + "/Contents/MacOS/Trellin", {"-group", folderID});
        const QString service = LinuxApplication::instanceServiceName(kBundleID, folderID);
        QVERIFY(QTest::qWaitFor([&] { return m_connection.interface()->isServiceRegistered(service).value(); }, 15000));
    }

    void reopen(const QString& folderID) {
        const QDBusMessage reply = m_connection.call(
            QDBusMessage::createMethodCall(LinuxApplication::instanceServiceName(kBundleID, folderID),
                                           "/app/trellin/Application", "app.trellin.Application", "Reopen"));
        QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
    }

    // The visible popup window of a folder (its title is the folder's name), if any.
    QString popupWindow(const QString& name) { return windowTitled(name); }

    void move(int x, int y) { QVERIFY(moveMouse({x, y})); }

    // Ends the fixture application this test launched, found by its executable, so that the next
    // launch starts it anew (a running application is only brought forward); its log goes with it.
    void endFixture() {
        const QString executable = QFileInfo(path("Apps/Fixture.app/Contents/MacOS/fixture")).canonicalFilePath();
        for (const QString& pid : QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            if (QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).symLinkTarget() == executable)
                ::kill(pid.toInt(), SIGTERM);
        QTRY_VERIFY_WITH_TIMEOUT(readFile(launchLog()).contains("terminated"), 5000);
        QVERIFY(QFile::remove(launchLog()));
    }

private Q_SLOTS:
    void init() {
        setUpDesktop();
        QVERIFY(writeFile(path("share/Trellin/folders.json"), foldersOfOneApp(makeFixtureApp())));
    }

    void cleanup() { tearDownDesktop(); }

    void popupOpensAboveTheDockAtTheMouseAndClosesAsAUserExpects();
    void onlyOneUnpinnedPopupIsOpenAcrossHelpers();
    void centredPopupShowsAPinThatKeepsItOpen();
    void aBigFolderStaysOnScreenAndScrollsByWheelDragAndKeys();
};

void PopupEndToEndTest::popupOpensAboveTheDockAtTheMouseAndClosesAsAUserExpects() {
    startHelper(kFolderA, "Alpha");
    const QRect screen = QGuiApplication::primaryScreen()->geometry();

    // Near the bottom-left corner: above the bottom edge, clamped 8 points in, the arrow at the
    // mouse (a one-column card lets its tip move 16 points from the middle).
    move(70, screen.height() - 10);
    reopen(kFolderA);
    QString window;
    QTRY_VERIFY_WITH_TIMEOUT(!(window = popupWindow("Alpha")).isEmpty(), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(geometryOf(window).x(), 8, 5000);
    const QRect popup = geometryOf(window);
    // No Dock reserves the edge and none has preferences: it counts 64 points tall, and the panel
    // stands max(64 + 18 + 5 − 24, 64 + 1) + 19 points up.
    QCOMPARE(popup.bottom() + 1, screen.height() - 84);
    // The arrow's tip points at the mouse: 4 points above the tip the card's fill shows at the
    // mouse's x, and the desktop shows 12 points to either side.
    QTest::qWait(300);
    const QImage shot = saveScreen("popup-e2e-above-dock.png");
    const int nearTip = popup.bottom() - PopupLayoutMargin - 4;
    const QColor fill = shot.pixelColor(popup.center().x(), nearTip - 12);
    const auto isFill = [&](int x) { return shot.pixelColor(x, nearTip) == fill; };
    QVERIFY(isFill(70));
    QVERIFY(!isFill(70 - 12));
    QVERIFY(!isFill(70 + 12));

    // A second reopen (a click on the tile) closes it.
    reopen(kFolderA);
    QTRY_VERIFY_WITH_TIMEOUT(popupWindow("Alpha").isEmpty(), 5000);

    // A click outside closes it; one inside does not.
    QTest::qWait(300);
    move(640, screen.height() - 10);
    reopen(kFolderA);
    QTRY_VERIFY_WITH_TIMEOUT(!(window = popupWindow("Alpha")).isEmpty(), 10000);
    const QRect centred = geometryOf(window);
    move(centred.center().x(), centred.top() + 30);
    QVERIFY(run({"click", "1"}));
    QTest::qWait(300);
    QVERIFY(!popupWindow("Alpha").isEmpty());
    move(100, 100);
    QVERIFY(run({"click", "1"}));
    QTRY_VERIFY_WITH_TIMEOUT(popupWindow("Alpha").isEmpty(), 5000);

    // Return launches the application with the keyboard focus, and the popup closes.
    QTest::qWait(300);
    move(640, screen.height() - 10);
    reopen(kFolderA);
    QTRY_VERIFY_WITH_TIMEOUT(!(window = popupWindow("Alpha")).isEmpty(), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(xdotool({"getwindowfocus"}), window, 5000);
    QVERIFY(run({"key", "Return"}));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(launchLog()), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(popupWindow("Alpha").isEmpty(), 5000);
}

void PopupEndToEndTest::onlyOneUnpinnedPopupIsOpenAcrossHelpers() {
    startHelper(kFolderA, "Alpha");
    startHelper(kFolderB, "Beta");
    move(400, 790);
    reopen(kFolderA);
    QTRY_VERIFY_WITH_TIMEOUT(!popupWindow("Alpha").isEmpty(), 10000);
    reopen(kFolderB);
    QTRY_VERIFY_WITH_TIMEOUT(!popupWindow("Beta").isEmpty(), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(popupWindow("Alpha").isEmpty(), 5000);
}

void PopupEndToEndTest::centredPopupShowsAPinThatKeepsItOpen() {
    writeSettings({{"popupPosition", "center"}, {"popupAnimationStyle", "none"}});
    startHelper(kFolderA, "Alpha");
    move(200, 790);
    reopen(kFolderA);
    QString window;
    QTRY_VERIFY_WITH_TIMEOUT(!(window = popupWindow("Alpha")).isEmpty(), 10000);
    const QRect popup = geometryOf(window);
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(qAbs(popup.center().x() - available.center().x()) <= 1);
    QVERIFY(qAbs(popup.center().y() - available.center().y()) <= 1);
    saveScreen("popup-e2e-centred.png");

    // The pin sits left of the close button in the header: pinned, an outside click leaves it open.
    // Header row: 24 points of shadow room and 12 of inset, 22 high; from its trailing end the
    // close button (18), the row's spacing and the pin's padding, then the pin's middle.
    move(popup.x() + popup.width() - 24 - 12 - 18 - 8 - 4 - 11, popup.y() + 24 + 12 + 11);
    QVERIFY(run({"click", "1"}));
    QTest::qWait(300);
    move(100, 100);
    QVERIFY(run({"click", "1"}));
    QTest::qWait(500);
    QVERIFY(!popupWindow("Alpha").isEmpty());
}

void PopupEndToEndTest::aBigFolderStaysOnScreenAndScrollsByWheelDragAndKeys() {
    QVERIFY(writeFile(path("share/Trellin/folders.json"), folderOfMany(makeFixtureApp(), 40)));
    writeSettings({{"popupAnimationStyle", "none"}});
    startHelper(kFolderA, "Alpha");
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    // Opens from a click on the Dock at the bottom, and comes back after each close.
    QString window;
    QRect popup;
    const auto open = [&] {
        QTest::qWait(300);
        move(640, screen.height() - 10);
        reopen(kFolderA);
        QTRY_VERIFY_WITH_TIMEOUT(!(window = popupWindow("Alpha")).isEmpty(), 10000);
        QTest::qWait(200);
        popup = geometryOf(window);
    };
    // The last application (the fixture, alone in the last row) where it shows once the grid is
    // scrolled to its end: in the first column, its icon about 96 points above the window's
    // lower edge (the shadow's room, the arrow's and the card's inset, then the cell).
    const auto clickLastApplication = [&] {
        move(popup.x() + PopupLayoutMargin + 12 + 34, popup.y() + popup.height() - 96);
        QVERIFY(run({"click", "1"}));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(launchLog()), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(popupWindow("Alpha").isEmpty(), 5000);
        endFixture();
    };

    // The whole panel on the screen, 8 points in from its top: the title and close button show.
    open();
    QVERIFY2(popup.top() >= 8 && popup.bottom() < screen.height(),
             qPrintable(QStringLiteral("%1 × %2 at %3").arg(popup.width()).arg(popup.height()).arg(popup.top())));
    saveScreen("popup-e2e-big-folder.png");
    // The close button, at the header's trailing end, closes it.
    move(popup.right() - PopupLayoutMargin - 12 - 9, popup.top() + PopupLayoutMargin + 12 + 11);
    QVERIFY(run({"click", "1"}));
    QTRY_VERIFY_WITH_TIMEOUT(popupWindow("Alpha").isEmpty(), 5000);

    // The wheel over the grid scrolls it to the end, where the last application is clicked.
    open();
    move(popup.center().x(), popup.center().y());
    QVERIFY(run({"click", "--repeat", "30", "--delay", "20", "5"}));
    QTest::qWait(300);
    saveScreen("popup-e2e-big-folder-scrolled.png");
    clickLastApplication();

    // So does dragging the grid upward; the press that started the drag opens nothing.
    open();
    const int x = popup.center().x();
    move(x, popup.bottom() - 80);
    QVERIFY(run({"mousedown", "1"}));
    for (int y = popup.bottom() - 120; y > 0; y -= 80) {
        move(x, y);
        QTest::qWait(30);
    }
    move(x, 0);
    QVERIFY(run({"mouseup", "1"}));
    QTest::qWait(300);
    QVERIFY(!QFile::exists(launchLog()));
    QVERIFY(!popupWindow("Alpha").isEmpty());
    clickLastApplication();

    // And the keyboard: End reaches the last application, Return opens it.
    open();
    QTRY_COMPARE_WITH_TIMEOUT(xdotool({"getwindowfocus"}), window, 5000);
    QVERIFY(run({"key", "End"}));
    QTest::qWait(200);
    saveScreen("popup-e2e-big-folder-keyboard.png");
    QVERIFY(run({"key", "Return"}));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(launchLog()), 10000);
    endFixture();
}

QTEST_MAIN(PopupEndToEndTest)
#include "PopupEndToEndTest.moc"
