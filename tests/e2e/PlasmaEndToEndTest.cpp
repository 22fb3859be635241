// Trellin inside the real KDE Plasma 5.27, a Wayland session of KWin with Xwayland on a virtual
// output: one shell shared by the cases, its task manager read and changed through the shell's
// scripts as the user's pins change it, and clicked through KWin's own input.
#include "platform/PropertyList.h"

#include "HostDesktop.h"
#include "PlasmaHost.h"
#include "TestFiles.h"
#include "TrellinOnDesktop.h"
#include "XSession.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QTest>

#include <functional>

using namespace XSession;

namespace {

const TrellinOnDesktop::Folder kWork{QUuid("3B2A1C0D-4E5F-4A6B-9C7D-8E9F0A1B2C3D"), "Work", QColor(255, 0, 255)};
const TrellinOnDesktop::Folder kGames{QUuid("7C6B5A49-3827-4615-8F0E-1D2C3B4A5968"), "Games", QColor(0, 255, 255)};

} // namespace

class PlasmaEndToEndTest : public QObject {
    Q_OBJECT
public:
    explicit PlasmaEndToEndTest(HostDesktop& desktop)
        : m_desktop(desktop)
        , m_plasma(desktop)
        , m_trellin(desktop) {}

private:
    QImage screenshot(const QString& name) const {
        return m_plasma.screenshot(QCoreApplication::applicationDirPath() + u'/' + name);
    }

    // The panel that holds the (first) task manager.
    QRect panel() const {
        const std::optional<QList<PlasmaHost::TaskManager>> managers = m_plasma.taskManagers();
        return managers && !managers->isEmpty() ? managers->first().panelRect : QRect();
    }

    // Where the task manager draws an icon of `colour`, once it stands still: the panel lays its
    // icons out again, animated, whenever one comes or goes.
    std::optional<QRect> iconOfColour(const QColor& colour, const QString& shotName) const {
        QRect before;
        std::optional<QRect> settled;
        const bool found = QTest::qWaitFor(
            [&] {
                const QRect area = panel();
                const QRect bounds = colourBounds(screenshot(shotName), area, colour);
                if (bounds.width() >= 8 && bounds.height() >= 8 && bounds == before)
                    settled = bounds;
                before = bounds;
                return settled.has_value();
            },
            30000);
        return found ? settled : std::nullopt;
    }

    // The click lands on the icon's middle, as the user's does. A shell busy with its own start
    // may let a first click pass unanswered, as a user sees it now and then: then one more, as
    // the user would, once `answered` has not come true for a while.
    bool clickIcon(const QColor& colour, const std::function<bool()>& answered) const {
        for (int attempt = 0; attempt < 2; ++attempt) {
            const std::optional<QRect> icon = iconOfColour(colour, QStringLiteral("dock-host-plasma-tiles.png"));
            if (!icon || !m_plasma.click(icon->center()))
                return false;
            if (QTest::qWaitFor(answered, 10000))
                return true;
        }
        return false;
    }

    HostDesktop& m_desktop;
    PlasmaHost m_plasma;
    TrellinOnDesktop m_trellin;
    // The later cases go on from the folders the first put into the task manager.
    bool m_foldersInDock = false;

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(m_desktop.startBuses());
        QVERIFY2(m_plasma.start(), "KWin and plasmashell did not start with a task manager on a panel");
    }

    void cleanupTestCase() { m_desktop.shutDown(); }

    // The harness itself, with an entry written by hand: pinned, the task manager shows its icon's
    // file; clicked, its program runs; unpinned, it goes.
    void aPinnedEntryShowsItsIconAndLaunches();
    // Trellin's folders, in the order a user meets them; the cases go on from each other's state.
    void foldersInTheDockShowTheirDrawnTiles();
    void aClickOnTheTileOpensThePopupNextToThePanel();
    void unpinningInPlasmaTakesTheFolderOut();
};

void PlasmaEndToEndTest::aPinnedEntryShowsItsIconAndLaunches() {
    const QString id = HostDesktop::probeEntryId;
    const QString icon = m_desktop.writeProbeEntry(QStringLiteral(TRELLIN_FIXTURE_APP));
    QVERIFY(!icon.isEmpty());
    QVERIFY(m_plasma.pin(id));
    // Pinning twice keeps one launcher.
    QVERIFY(m_plasma.pin(id));
    QCOMPARE(m_plasma.launchers().value_or(QStringList()).count(PlasmaHost::launcher(id)), 1);
    QVERIFY2(iconOfColour(HostDesktop::probeColour, QStringLiteral("dock-host-plasma-probe.png")),
             "the task manager shows no icon of the entry's picture");

    QVERIFY(clickIcon(HostDesktop::probeColour,
                      [&] { return readFile(m_desktop.fixtureLog()).contains("--entry=probe"); }));

    QVERIFY(m_plasma.unpin(id));
    QVERIFY(!m_plasma.isPinned(id));
    // The program shows no window, so no task keeps its icon there.
    QTRY_VERIFY_WITH_TIMEOUT(
        pixelsNear(screenshot(QStringLiteral("dock-host-plasma-probe.png")), panel(), HostDesktop::probeColour) == 0,
        15000);
}

void PlasmaEndToEndTest::foldersInTheDockShowTheirDrawnTiles() {
    QVERIFY(m_trellin.writeFolders({kWork, kGames}));
    QVERIFY(QDir().mkpath(m_desktop.path("Library/Preferences")));
    QVERIFY(PropertyList::writeFileAtomically(m_desktop.path("Library/Preferences/app.trellin.Trellin.plist"),
                                              QVariantMap{{"hasCompletedOnboarding", true}, {"dockHost", "kde-plasma"}},
                                              PropertyList::Format::Xml));
    m_trellin.startMainApplication();
    const bool named =
        QTest::qWaitFor([&] { return m_trellin.mainOutput().contains("The Dock is KDE Plasma"); }, 20000);
    QVERIFY2(named, m_trellin.mainOutput().constData());

    // The main window's switches put both folders into the Dock, as a user puts them.
    QString window;
    QTRY_VERIFY_WITH_TIMEOUT(!(window = windowTitled("Trellin")).isEmpty(), 15000);
    QList<QPoint> switches;
    QTRY_VERIFY_WITH_TIMEOUT((switches = TrellinOnDesktop::inDockSwitches(
                                  screenshot(QStringLiteral("dock-host-plasma-main-window.png")), geometryOf(window)))
                                     .size() == 2,
                             10000);
    for (const QPoint& point : std::as_const(switches))
        QVERIFY(m_plasma.click(point));

    for (const TrellinOnDesktop::Folder& folder : {kWork, kGames}) {
        const QString id = TrellinOnDesktop::entryId(folder.id);
        QTRY_VERIFY_WITH_TIMEOUT(m_plasma.isPinned(id), 30000);
        const QMap<QString, QString> entry = m_trellin.entry(folder.id);
        QCOMPARE(entry.value("Name"), folder.name);
        QVERIFY(!entry.value("StartupWMClass").isEmpty());
        // The task manager shows the launcher's picture: the folder's tile with its application's icon.
        QVERIFY2(iconOfColour(folder.colour, QStringLiteral("dock-host-plasma-tiles.png")),
                 qPrintable(folder.name + " shows no drawn tile in the task manager"));
    }
    // One launcher each, in a task manager of their own panel's choosing.
    const QStringList launchers = m_plasma.launchers().value_or(QStringList());
    QCOMPARE(launchers.filter(TrellinOnDesktop::idText(kWork.id)).size(), 1);
    QCOMPARE(launchers.filter(TrellinOnDesktop::idText(kGames.id)).size(), 1);
    m_foldersInDock = true;
}

void PlasmaEndToEndTest::aClickOnTheTileOpensThePopupNextToThePanel() {
    if (!m_foldersInDock)
        QFAIL("the folders did not reach the task manager");
    // The main window closed: the task manager alone stands for Trellin.
    if (const QString window = windowTitled("Trellin"); !window.isEmpty()) {
        QVERIFY(m_plasma.click(TrellinOnDesktop::closeButton(
            screenshot(QStringLiteral("dock-host-plasma-main-window.png")), geometryOf(window))));
        QTRY_VERIFY_WITH_TIMEOUT(windowTitled("Trellin").isEmpty(), 5000);
    }
    const std::optional<QRect> icon = iconOfColour(kWork.colour, QStringLiteral("dock-host-plasma-tiles.png"));
    QVERIFY(icon);
    const QRect bar = panel();
    const qint64 launches = readFile(m_desktop.fixtureLog()).count('\n');
    QString popup;
    QVERIFY(clickIcon(kWork.colour, [&] { return !(popup = windowTitled(kWork.name)).isEmpty(); }));
    // Above the panel, just off it, its arrow (the middle of its near edge) where the click was.
    QRect placed;
    QTRY_VERIFY_WITH_TIMEOUT((placed = geometryOf(popup)).isValid() && placed.bottom() < bar.top(), 5000);
    QVERIFY2(bar.top() - placed.bottom() < 60, "the popup stands far off the panel");
    QVERIFY2(qAbs(placed.center().x() - icon->center().x()) <= 3, "the popup's arrow is not at the clicked tile");
    // Two folders in the task manager and the popup open, for a person to look at.
    QImage shot;
    QTRY_VERIFY_WITH_TIMEOUT(
        colourBounds(shot = screenshot(QStringLiteral("dock-host-plasma.png")), placed, kWork.colour).width() > 20,
        5000);

    // Its application starts from it, and it closes.
    QVERIFY(m_plasma.click(colourBounds(shot, placed, kWork.colour).center()));
    QTRY_VERIFY_WITH_TIMEOUT(readFile(m_desktop.fixtureLog()).count('\n') > launches, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(windowTitled(kWork.name).isEmpty(), 5000);
}

void PlasmaEndToEndTest::unpinningInPlasmaTakesTheFolderOut() {
    if (!m_foldersInDock)
        QFAIL("the folders did not reach the task manager");
    // Its helper runs, as after any click on its tile.
    QVERIFY(clickIcon(kGames.colour, [&] { return !windowTitled(kGames.name).isEmpty(); }));
    // The desktop is a Wayland surface, which Xwayland's clicks never tell of: the popup closes
    // because it is no longer the active window.
    QVERIFY(m_plasma.click({640, 300}));
    QTRY_VERIFY_WITH_TIMEOUT(windowTitled(kGames.name).isEmpty(), 10000);
    // Unpinned with its popup open or closed, the helper goes all the same.
    QVERIFY(m_trellin.isHelperRunning(kGames.name));
    QVERIFY(m_trellin.storedFolder(kGames.id).value("isInDock").toBool());

    // As the task manager's "Unpin from Task Manager" does; Plasma saves it to its file later.
    QVERIFY(m_plasma.unpin(TrellinOnDesktop::entryId(kGames.id)));
    QTRY_COMPARE_WITH_TIMEOUT(m_trellin.storedFolder(kGames.id).value("isInDock").toBool(true), false, 60000);
    QTRY_VERIFY_WITH_TIMEOUT(!m_trellin.isHelperRunning(kGames.name), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(m_trellin.entryPath(kGames.id)), 10000);
    // The other folder stays.
    QVERIFY(m_plasma.isPinned(TrellinOnDesktop::entryId(kWork.id)));
    QVERIFY(m_trellin.storedFolder(kWork.id).value("isInDock").toBool());
}

int main(int argc, char** argv) {
    // The test sees the session only through KWin's screenshots, its fake pointer and xdotool on
    // Xwayland; its own windows need no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    HostDesktop desktop;
    QGuiApplication application(argc, argv);
    PlasmaEndToEndTest test(desktop);
    return QTest::qExec(&test, argc, argv);
}

#include "PlasmaEndToEndTest.moc"
