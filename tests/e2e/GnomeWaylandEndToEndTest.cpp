// Trellin inside the real GNOME Shell 43 with dash-to-dock as a headless Wayland compositor: its
// windows go through the shell's Xwayland, and the pointer is the shell's own, moved and clicked
// through Eval, as no X client reaches the shell's dock there. One shell shared by the cases.
#include "platform/PropertyList.h"
#include "platform/linux/GnomeShellNames.h"

#include "GnomeShellHost.h"
#include "HostDesktop.h"
#include "TestFiles.h"
#include "TrellinOnDesktop.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QTest>

namespace {

const TrellinOnDesktop::Folder kWork{QUuid("7A2D3C4B-1E5F-4A6B-9C7D-8E9FA0B1C2D3"), "Work", QColor(255, 0, 255)};
const TrellinOnDesktop::Folder kGames{QUuid("1B2C3D4E-5F6A-4B7C-8D9E-0F1A2B3C4D5E"), "Games", QColor(0, 255, 255)};

} // namespace

class GnomeWaylandEndToEndTest : public QObject {
    Q_OBJECT
public:
    explicit GnomeWaylandEndToEndTest(HostDesktop& desktop)
        : m_desktop(desktop)
        , m_shell(desktop, GnomeShellHost::Session::Wayland)
        , m_trellin(desktop) {}

private:
    QImage screenshot(const QString& name) const {
        return m_shell.screenshot(QCoreApplication::applicationDirPath() + u'/' + name);
    }

    // The folder's dash icon once the dock draws the folder's tile in it.
    std::optional<GnomeShellHost::DashIcon> drawnIcon(const TrellinOnDesktop::Folder& folder) {
        std::optional<GnomeShellHost::DashIcon> icon;
        const bool drawn = QTest::qWaitFor(
            [&] {
                icon = m_shell.dashIcon(TrellinOnDesktop::entryId(folder.id));
                return icon && icon->icon == m_trellin.entry(folder.id).value("Icon") &&
                       pixelsNear(screenshot(QStringLiteral("gnome-wayland-tiles.png")), icon->rect, folder.colour) >
                           20;
            },
            30000);
        return drawn ? icon : std::nullopt;
    }

    // The window titled so once it stands still (the shell may still move a new one), or none.
    std::optional<QRect> settledWindow(const QString& title, int milliseconds) {
        std::optional<GnomeShellHost::Window> last;
        const bool settled = QTest::qWaitFor(
            [&] {
                const std::optional<GnomeShellHost::Window> now = m_shell.windowTitled(title);
                const bool same = now && last && now->rect == last->rect && now->rect.isValid();
                last = now;
                return same;
            },
            milliseconds);
        return settled ? std::optional<QRect>(last->rect) : std::nullopt;
    }

    // Clicks the folder's dock icon; its popup's rectangle once shown, or none.
    std::optional<QRect> openPopup(const TrellinOnDesktop::Folder& folder) {
        if (!m_shell.click(TrellinOnDesktop::entryId(folder.id)))
            return std::nullopt;
        return settledWindow(folder.name, 15000);
    }

    // A click on the application the popup shows launches it and closes the popup; `name` keeps
    // the screen as it was then.
    void launchFromPopup(const TrellinOnDesktop::Folder& folder, const QRect& popup, const QString& name) {
        QRect app;
        QTRY_VERIFY2_WITH_TIMEOUT((app = colourBounds(screenshot(name), popup, folder.colour)).width() > 20,
                                  "the popup shows no application", 5000);
        const qint64 launches = readFile(m_desktop.fixtureLog()).count('\n');
        QVERIFY(m_shell.clickAt(app.center()));
        QTRY_VERIFY_WITH_TIMEOUT(readFile(m_desktop.fixtureLog()).count('\n') > launches, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(!m_shell.windowTitled(folder.name), 5000);
    }

    HostDesktop& m_desktop;
    GnomeShellHost m_shell;
    TrellinOnDesktop m_trellin;
    // The later cases go on from the folders the first put into the dock.
    bool m_foldersInDock = false;

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(m_desktop.startBuses());
        // Trellin's extension installed as its installer leaves it, but not switched on: the shell
        // finds it at its start (as at a login after the install) and runs it once it is switched on.
        const QString bundled = QStringLiteral(TRELLIN_BUNDLE_DIR "/Contents/Resources/") +
                                GnomeShellNames::tilesExtensionFolder + u'/' + GnomeShellNames::tilesExtension;
        const QString installed =
            m_desktop.dataHome() + QStringLiteral("/gnome-shell/extensions/") + GnomeShellNames::tilesExtension;
        QVERIFY(QDir().mkpath(installed));
        const QStringList files = QDir(bundled).entryList(QDir::Files);
        QVERIFY2(files.contains("metadata.json") && files.contains("extension.js"), qPrintable(bundled));
        for (const QString& file : files)
            QVERIFY(QFile::copy(bundled + u'/' + file, installed + u'/' + file));
        QVERIFY2(m_shell.start(), "GNOME Shell did not start on Wayland with dash-to-dock, Eval and Xwayland");
    }

    void cleanupTestCase() { m_desktop.shutDown(); }

    // A popup a failed case left open would stand for the next case's: a launch from it closes it
    // (on Wayland another click on its dock icon only raises it).
    void cleanup() {
        for (const TrellinOnDesktop::Folder& folder : {kWork, kGames})
            if (const std::optional<GnomeShellHost::Window> popup = m_shell.windowTitled(folder.name))
                launchFromPopup(folder, popup->rect, QStringLiteral("gnome-wayland-left-open.png"));
    }

    // The main window's switches, clicked through the shell's pointer on an Xwayland window, put
    // the folders into the dock with their drawn tiles.
    void foldersGoIntoTheDockFromTheMainWindow();
    // No extension of Trellin's tells where the icon is, and the X pointer is stale over the
    // shell's dock: the popup opens centred, and launches from there.
    void withoutTheExtensionThePopupOpensCentred();
    // Switched on, it tells the helper where the clicked icon is: the popup opens above it, and a
    // click elsewhere closes it.
    void withTheExtensionThePopupOpensAtTheIcon();
};

void GnomeWaylandEndToEndTest::foldersGoIntoTheDockFromTheMainWindow() {
    QVERIFY(m_trellin.writeFolders({kWork, kGames}));
    QVERIFY(QDir().mkpath(m_desktop.path("Library/Preferences")));
    QVERIFY(PropertyList::writeFileAtomically(m_desktop.path("Library/Preferences/app.trellin.Trellin.plist"),
                                              QVariantMap{{"hasCompletedOnboarding", true}},
                                              PropertyList::Format::Xml));
    m_trellin.startMainApplication();
    const bool named = QTest::qWaitFor(
        [&] {
            return m_trellin.mainOutput().contains(
                "The Dock is GNOME Shell with dash-to-dock, in a Wayland session of GNOME Shell");
        },
        20000);
    QVERIFY2(named, m_trellin.mainOutput().constData());

    std::optional<GnomeShellHost::Window> window;
    QTRY_VERIFY_WITH_TIMEOUT((window = m_shell.windowTitled(QStringLiteral("Trellin"))).has_value(), 15000);
    // Trellin's windows are X11 clients of the shell's Xwayland.
    QVERIFY(window->isX11);
    // The shell may still move the new window: the switches are read from a screen on which it
    // stood where it stands after.
    QRect main;
    QList<QPoint> switches;
    QTRY_VERIFY_WITH_TIMEOUT(
        (main = m_shell.windowTitled(QStringLiteral("Trellin")).value_or(GnomeShellHost::Window{}).rect,
         switches = TrellinOnDesktop::inDockSwitches(screenshot(QStringLiteral("gnome-wayland-main-window.png")), main))
                    .size() == 2 &&
            m_shell.windowTitled(QStringLiteral("Trellin")).value_or(GnomeShellHost::Window{}).rect == main,
        10000);
    for (const QPoint& point : std::as_const(switches))
        QVERIFY(m_shell.clickAt(point));

    for (const TrellinOnDesktop::Folder& folder : {kWork, kGames}) {
        QTRY_VERIFY_WITH_TIMEOUT(
            m_shell.favourites().value_or(QStringList()).contains(TrellinOnDesktop::entryId(folder.id)), 30000);
        QVERIFY2(drawnIcon(folder), qPrintable(folder.name + " shows no drawn tile in the dock"));
    }

    // The main window closed: the dock alone stands for Trellin.
    QVERIFY(m_shell.clickAt(
        TrellinOnDesktop::closeButton(screenshot(QStringLiteral("gnome-wayland-main-window.png")), main)));
    QTRY_VERIFY_WITH_TIMEOUT(!m_shell.windowTitled(QStringLiteral("Trellin")), 5000);
    m_foldersInDock = true;
}

void GnomeWaylandEndToEndTest::withoutTheExtensionThePopupOpensCentred() {
    if (!m_foldersInDock)
        QFAIL("the folders did not reach the dock");
    const std::optional<GnomeShellHost::DashIcon> icon = drawnIcon(kWork);
    QVERIFY(icon);
    const std::optional<QRect> popup = openPopup(kWork);
    QVERIFY2(popup, "no popup opened");
    const QRect area = m_shell.workArea();
    QVERIFY2((popup->center() - area.center()).manhattanLength() <= 4,
             qPrintable(QStringLiteral("the popup (%1,%2 %3x%4) is not centred in the work area (%5,%6 %7x%8)")
                            .arg(popup->x())
                            .arg(popup->y())
                            .arg(popup->width())
                            .arg(popup->height())
                            .arg(area.x())
                            .arg(area.y())
                            .arg(area.width())
                            .arg(area.height())));
    launchFromPopup(kWork, *popup, QStringLiteral("gnome-wayland-popup-centred.png"));
}

void GnomeWaylandEndToEndTest::withTheExtensionThePopupOpensAtTheIcon() {
    if (!m_foldersInDock)
        QFAIL("the folders did not reach the dock");
    QVERIFY(m_shell.enableExtension(GnomeShellNames::tilesExtension));
    // The other folder: the application the first case launched still runs, and another launch
    // would only bring it forward.
    const std::optional<GnomeShellHost::DashIcon> icon = drawnIcon(kGames);
    QVERIFY(icon);
    const std::optional<QRect> popup = openPopup(kGames);
    QVERIFY2(popup, "no popup opened");
    // Above the dock, just off it, its arrow (the middle of its near edge) at the icon.
    const QString where = QStringLiteral("the popup (%1,%2 %3x%4), the icon (%5,%6 %7x%8)")
                              .arg(popup->x())
                              .arg(popup->y())
                              .arg(popup->width())
                              .arg(popup->height())
                              .arg(icon->rect.x())
                              .arg(icon->rect.y())
                              .arg(icon->rect.width())
                              .arg(icon->rect.height());
    QVERIFY2(popup->bottom() < icon->rect.top() && icon->rect.top() - popup->bottom() < 60, qPrintable(where));
    QVERIFY2(qAbs(popup->center().x() - icon->rect.center().x()) <= 2, qPrintable(where));
    QTRY_VERIFY_WITH_TIMEOUT(
        colourBounds(screenshot(QStringLiteral("gnome-wayland-popup-at-icon.png")), *popup, kGames.colour).width() > 20,
        5000);
    // A click on the shell's desktop, which no X client sees, should close it too; GNOME keeps the
    // popup's window focused then, so nothing tells the helper yet.
    QVERIFY(m_shell.clickAt({200, 300}));
    QEXPECT_FAIL("", "a click on GNOME's empty desktop leaves a popup open on Wayland", Continue);
    QTRY_VERIFY_WITH_TIMEOUT(!m_shell.windowTitled(kGames.name), 5000);
}

int main(int argc, char** argv) {
    HostDesktop desktop;
    // The shell is the compositor, on no display of the test's: the test sees it through the shell.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    GnomeWaylandEndToEndTest test(desktop);
    return QTest::qExec(&test, argc, argv);
}

#include "GnomeWaylandEndToEndTest.moc"
