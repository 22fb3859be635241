// Trellin inside the real GNOME Shell 43 with dash-to-dock, an X11 session on a display of its
// own: one shell shared by the cases, its dock read through Eval and driven with the mouse and
// the shell's favourites as a user drives them.
#include "platform/PropertyList.h"

#include "GnomeShellHost.h"
#include "HostDesktop.h"
#include "TestFiles.h"
#include "TrellinOnDesktop.h"
#include "XSession.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QTest>

using namespace XSession;

namespace {

const TrellinOnDesktop::Folder kWork{QUuid("6F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C"), "Work", QColor(255, 0, 255)};
// A tile style no drawing of the two folders has otherwise.
const QColor kStyleColour(0, 255, 0);
const TrellinOnDesktop::Folder kGames{QUuid("0A1B2C3D-4E5F-4A6B-8C7D-9E0F1A2B3C4D"), "Games", QColor(0, 255, 255)};

} // namespace

class GnomeShellEndToEndTest : public QObject {
    Q_OBJECT
public:
    explicit GnomeShellEndToEndTest(HostDesktop& desktop)
        : m_desktop(desktop)
        , m_shell(desktop)
        , m_trellin(desktop) {}

private:
    QImage screenshot(const QString& name) const {
        return m_shell.screenshot(QCoreApplication::applicationDirPath() + u'/' + name);
    }

    // The folder's dash icon once it shows the picture the launcher names, drawn.
    std::optional<GnomeShellHost::DashIcon> drawnIcon(const TrellinOnDesktop::Folder& folder, const QColor& colour) {
        const QString id = TrellinOnDesktop::entryId(folder.id);
        std::optional<GnomeShellHost::DashIcon> icon;
        const bool drawn = QTest::qWaitFor(
            [&] {
                icon = m_shell.dashIcon(id);
                return icon && icon->icon == m_trellin.entry(folder.id).value("Icon") &&
                       pixelsNear(screenshot(QStringLiteral("dock-host-gnome-tiles.png")), icon->rect, colour) > 20;
            },
            30000);
        return drawn ? icon : std::nullopt;
    }

    // The folders' launchers, and Trellin's own while its main window is open: nothing else, as
    // neither a popup nor an unmatched window may stand in the dock as an application of its own.
    void verifyNoStrayApplications(bool mainWindowOpen) {
        QStringList ours{TrellinOnDesktop::entryId(kWork.id), TrellinOnDesktop::entryId(kGames.id)};
        if (mainWindowOpen)
            ours << QStringLiteral("trellin.desktop");
        for (const GnomeShellHost::DashIcon& icon : m_shell.dashIcons())
            QVERIFY2(ours.contains(icon.id), qPrintable("a stray application in the dock: " + icon.id));
    }

    HostDesktop& m_desktop;
    GnomeShellHost m_shell;
    TrellinOnDesktop m_trellin;
    // The later cases go on from the folders the first put into the dock.
    bool m_foldersInDock = false;

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(m_desktop.startBuses());
        QVERIFY2(m_shell.start(), "GNOME Shell did not start with dash-to-dock and Eval");
    }

    void cleanupTestCase() { m_desktop.shutDown(); }

    // The harness itself, with an entry written by hand: pinned, the dock shows its icon's file;
    // clicked, its program runs; unpinned, it goes.
    void aPinnedEntryShowsItsIconAndLaunches();
    // Trellin's folders, in the order a user meets them; the cases go on from each other's state.
    void foldersInTheDockShowTheirDrawnTiles();
    void aStyleChangeReachesTheDockIcon();
    void aClickOnTheDockIconOpensThePopupThereAndLaunches();
    void unpinningInTheDockTakesTheFolderOut();
};

void GnomeShellEndToEndTest::aPinnedEntryShowsItsIconAndLaunches() {
    const QString id = HostDesktop::probeEntryId;
    const QString icon = m_desktop.writeProbeEntry(QStringLiteral(TRELLIN_FIXTURE_APP));
    QVERIFY(!icon.isEmpty());
    // The shell learns of a new entry a few seconds after it is written.
    QTRY_VERIFY_WITH_TIMEOUT(m_shell.pin(id), 15000);
    std::optional<GnomeShellHost::DashIcon> shown;
    QTRY_VERIFY_WITH_TIMEOUT((shown = m_shell.dashIcon(id)).has_value(), 5000);
    QCOMPARE(shown->icon, icon);
    // The dash grows a new icon into its place.
    QTRY_VERIFY_WITH_TIMEOUT((shown = m_shell.dashIcon(id)) &&
                                 pixelsNear(screenshot(QStringLiteral("dock-host-gnome-probe.png")), shown->rect,
                                            HostDesktop::probeColour) > 400,
                             5000);

    QVERIFY(m_shell.click(id));
    QTRY_VERIFY_WITH_TIMEOUT(readFile(m_desktop.fixtureLog()).contains("--entry=probe"), 10000);

    QVERIFY(m_shell.unpin(id));
    QTRY_VERIFY_WITH_TIMEOUT(!m_shell.dashIcon(id), 5000);
}

void GnomeShellEndToEndTest::foldersInTheDockShowTheirDrawnTiles() {
    QVERIFY(m_trellin.writeFolders({kWork, kGames}));
    QVERIFY(QDir().mkpath(m_desktop.path("Library/Preferences")));
    QVERIFY(PropertyList::writeFileAtomically(m_desktop.path("Library/Preferences/app.trellin.Trellin.plist"),
                                              QVariantMap{{"hasCompletedOnboarding", true}},
                                              PropertyList::Format::Xml));
    m_trellin.startMainApplication();
    // It says which dock stands for the Dock.
    const bool named = QTest::qWaitFor(
        [&] { return m_trellin.mainOutput().contains("The Dock is GNOME Shell with dash-to-dock"); }, 20000);
    QVERIFY2(named, m_trellin.mainOutput().constData());

    // The main window's switches put both folders into the Dock, as a user puts them.
    QString window;
    QTRY_VERIFY_WITH_TIMEOUT(!(window = windowTitled("Trellin")).isEmpty(), 15000);
    QList<QPoint> switches;
    QTRY_VERIFY_WITH_TIMEOUT((switches = TrellinOnDesktop::inDockSwitches(
                                  screenshot(QStringLiteral("dock-host-gnome-main-window.png")), geometryOf(window)))
                                     .size() == 2,
                             10000);
    for (const QPoint& point : std::as_const(switches)) {
        QVERIFY(moveMouse(point));
        QVERIFY(run({"click", "1"}));
    }

    for (const TrellinOnDesktop::Folder& folder : {kWork, kGames}) {
        const QString id = TrellinOnDesktop::entryId(folder.id);
        QTRY_VERIFY_WITH_TIMEOUT(m_shell.favourites().value_or(QStringList()).contains(id), 30000);
        // Its launcher reaches its helper and names a picture large enough for any dock.
        const QMap<QString, QString> entry = m_trellin.entry(folder.id);
        QCOMPARE(entry.value("Name"), folder.name);
        QVERIFY2(entry.value("Exec").contains("/Trellin/Helpers/" + folder.name + ".app/"),
                 qPrintable(entry.value("Exec")));
        QVERIFY(!entry.value("StartupWMClass").isEmpty());
        const QImage picture(entry.value("Icon"));
        QVERIFY2(QDir::isAbsolutePath(entry.value("Icon")) && picture.width() >= 256, qPrintable(entry.value("Icon")));
        // The dock shows that picture: the folder's tile with its application's icon.
        QVERIFY2(drawnIcon(folder, folder.colour), qPrintable(folder.name + " shows no drawn tile in the dock"));
    }
    verifyNoStrayApplications(true);
    m_foldersInDock = true;
}

void GnomeShellEndToEndTest::aClickOnTheDockIconOpensThePopupThereAndLaunches() {
    if (!m_foldersInDock)
        QFAIL("the folders did not reach the dock");
    // The main window closed: the dock alone stands for Trellin.
    if (const QString window = windowTitled("Trellin"); !window.isEmpty()) {
        QVERIFY(moveMouse(TrellinOnDesktop::closeButton(screenshot(QStringLiteral("dock-host-gnome-main-window.png")),
                                                        geometryOf(window))));
        QVERIFY(run({"click", "1"}));
        QTRY_VERIFY_WITH_TIMEOUT(windowTitled("Trellin").isEmpty(), 5000);
    }
    const std::optional<GnomeShellHost::DashIcon> icon = drawnIcon(kWork, kWork.colour);
    QVERIFY(icon);
    const qint64 launches = readFile(m_desktop.fixtureLog()).count('\n');
    QVERIFY(m_shell.click(TrellinOnDesktop::entryId(kWork.id)));
    QString popup;
    QTRY_VERIFY_WITH_TIMEOUT(!(popup = windowTitled(kWork.name)).isEmpty(), 15000);
    // Above the dock, just off it, its arrow (the middle of its near edge) at the icon.
    QRect panel;
    QTRY_VERIFY_WITH_TIMEOUT((panel = geometryOf(popup)).isValid() && panel.bottom() < icon->rect.top(), 5000);
    QVERIFY2(icon->rect.top() - panel.bottom() < 60, "the popup stands far off the dock");
    QVERIFY2(qAbs(panel.center().x() - icon->rect.center().x()) <= 2, "the popup's arrow is not at the icon");
    verifyNoStrayApplications(false);
    // Two folders in the dock and the popup open, for a person to look at.
    QImage shot;
    QTRY_VERIFY_WITH_TIMEOUT(
        colourBounds(shot = screenshot(QStringLiteral("dock-host-gnome.png")), panel, kWork.colour).width() > 20, 5000);

    const QRect app = colourBounds(shot, panel, kWork.colour);
    QVERIFY(moveMouse(app.center()));
    QVERIFY(run({"click", "1"}));
    QTRY_VERIFY_WITH_TIMEOUT(readFile(m_desktop.fixtureLog()).count('\n') > launches, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(windowTitled(kWork.name).isEmpty(), 5000);
}

void GnomeShellEndToEndTest::aStyleChangeReachesTheDockIcon() {
    if (!m_foldersInDock)
        QFAIL("the folders did not reach the dock");
    const QString before = m_trellin.entry(kWork.id).value("Icon");
    // A green tile: a style the main application finds in the folders file as it starts (the
    // live change from its own windows is drawn by the same code, on its notification).
    QVERIFY(m_trellin.stopMainApplication());
    QVERIFY(m_trellin.changeFolder(kWork.id, {{"tileStyle", QJsonObject{{"backgroundStyle", "custom"},
                                                                        {"customHex", "00FF00"},
                                                                        {"backgroundMode", "solid"},
                                                                        {"opacity", 1.0}}}}));
    QVERIFY(m_trellin.startMainApplication()->waitForStarted());

    // A new picture under a new name, the old one gone, and the dock shows the new one.
    QTRY_VERIFY_WITH_TIMEOUT(m_trellin.entry(kWork.id).value("Icon") != before, 15000);
    QVERIFY(!m_trellin.entry(kWork.id).value("Icon").isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(before), 10000);
    QVERIFY2(drawnIcon(kWork, kStyleColour), "the dock still shows the old picture");
}

void GnomeShellEndToEndTest::unpinningInTheDockTakesTheFolderOut() {
    if (!m_foldersInDock)
        QFAIL("the folders did not reach the dock");
    // Its helper runs, as after any click on its icon.
    QVERIFY(m_shell.click(TrellinOnDesktop::entryId(kGames.id)));
    QTRY_VERIFY_WITH_TIMEOUT(!windowTitled(kGames.name).isEmpty(), 15000);
    // A click away closes it.
    QVERIFY(moveMouse({200, 300}));
    QVERIFY(run({"click", "1"}));
    QTRY_VERIFY_WITH_TIMEOUT(windowTitled(kGames.name).isEmpty(), 5000);
    QVERIFY(m_trellin.isHelperRunning(kGames.name));
    QVERIFY(m_trellin.storedFolder(kGames.id).value("isInDock").toBool());
    // As the dock's "Unpin" does.
    QVERIFY(m_shell.unpin(TrellinOnDesktop::entryId(kGames.id)));
    QTRY_COMPARE_WITH_TIMEOUT(m_trellin.storedFolder(kGames.id).value("isInDock").toBool(true), false, 20000);
    QTRY_VERIFY_WITH_TIMEOUT(!m_trellin.isHelperRunning(kGames.name), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(m_trellin.entryPath(kGames.id)), 10000);
    // The other folder stays.
    QVERIFY(m_shell.favourites().value_or(QStringList()).contains(TrellinOnDesktop::entryId(kWork.id)));
    QVERIFY(m_trellin.storedFolder(kWork.id).value("isInDock").toBool());
}

int main(int argc, char** argv) {
    HostDesktop desktop;
    if (!desktop.startDisplay()) {
        qCritical("GnomeShellEndToEndTest: no X server of its own could be started");
        return 1;
    }
    QGuiApplication application(argc, argv);
    GnomeShellEndToEndTest test(desktop);
    return QTest::qExec(&test, argc, argv);
}

#include "GnomeShellEndToEndTest.moc"
