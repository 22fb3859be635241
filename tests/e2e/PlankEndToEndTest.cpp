// Trellin inside the real Plank: one Plank with bamfdaemon and openbox on a display of their own,
// shared by the cases, driven through Plank's D-Bus API and the mouse as a user drives it.
#include "platform/PropertyList.h"

#include "HostDesktop.h"
#include "PlankHost.h"
#include "TestFiles.h"
#include "TrellinOnDesktop.h"
#include "XSession.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>

using namespace XSession;

namespace {

const TrellinOnDesktop::Folder kWork{QUuid("6F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C"), "Work", QColor(255, 0, 255)};
// A tile style no drawing of the two folders has otherwise.
const QColor kStyleColour(0, 255, 0);
const TrellinOnDesktop::Folder kGames{QUuid("0A1B2C3D-4E5F-4A6B-8C7D-9E0F1A2B3C4D"), "Games", QColor(0, 255, 255)};
// Half a tile of Plank's default size.
constexpr int kHalfTile = 20;

} // namespace

class PlankEndToEndTest : public QObject {
    Q_OBJECT
public:
    explicit PlankEndToEndTest(HostDesktop& desktop)
        : m_desktop(desktop)
        , m_plank(desktop)
        , m_trellin(desktop) {}

private:
    QImage screen() const { return QGuiApplication::primaryScreen()->grabWindow(0).toImage(); }
    QImage saveScreen(const QString& name) const {
        const QImage shot = screen();
        shot.save(QCoreApplication::applicationDirPath() + u'/' + name);
        return shot;
    }

    // The folder's tile, once it shows `colour`, drawn from the picture its launcher names.
    std::optional<QRect> drawnTile(const TrellinOnDesktop::Folder& folder, const QColor& colour) {
        std::optional<QRect> tile;
        const bool drawn = QTest::qWaitFor(
            [&] {
                const std::optional<QPoint> centre = m_plank.tileCentre(TrellinOnDesktop::entryId(folder.id));
                if (!centre)
                    return false;
                tile = QRect(*centre - QPoint(kHalfTile, kHalfTile), QSize(2 * kHalfTile, 2 * kHalfTile));
                return pixelsNear(saveScreen(QStringLiteral("dock-host-plank-tiles.png")), *tile, colour) > 20;
            },
            30000);
        return drawn ? tile : std::nullopt;
    }

    // What the dock and Trellin say, for a failure to be understood.
    QString describe() {
        return "pinned: " + m_plank.persistentApplications().value_or(QStringList{"no answer"}).join(", ") +
               "\nlaunchers: " + QDir(m_desktop.applicationsFolder()).entryList(QDir::Files).join(", ") +
               "\nin the Dock: " + QString::number(m_trellin.storedFolder(kWork.id).value("isInDock").toBool()) +
               QString::number(m_trellin.storedFolder(kGames.id).value("isInDock").toBool()) +
               "\nTrellin said: " + QString::fromUtf8(m_trellin.mainOutput());
    }

    // The folders' launchers, and Trellin's own while its main window is open: nothing else, as
    // neither a popup nor an unmatched window may stand in the dock as an application of its own.
    void verifyNoStrayApplications(bool mainWindowOpen) {
        QStringList ours{m_plank.uriOfEntry(TrellinOnDesktop::entryId(kWork.id)),
                         m_plank.uriOfEntry(TrellinOnDesktop::entryId(kGames.id))};
        if (mainWindowOpen)
            ours << PlankHost::uri(m_desktop.applicationsFolder() + "/trellin.desktop");
        for (const QString& uri : m_plank.transientApplications().value_or(QStringList{"no answer"}))
            QVERIFY2(ours.contains(uri), qPrintable("a stray application in the dock: " + uri));
    }

    HostDesktop& m_desktop;
    PlankHost m_plank;
    TrellinOnDesktop m_trellin;
    // The later cases go on from the folders the first put into the dock.
    bool m_foldersInDock = false;

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(m_desktop.startBuses());
        QVERIFY(m_desktop.startWindowManager());
        QVERIFY2(m_plank.start(), "Plank did not start");
    }

    void cleanupTestCase() { m_desktop.shutDown(); }

    // The harness itself, with an entry written by hand: pinned, it shows its icon; clicked, its
    // program runs; removed, it goes.
    void aPinnedEntryShowsItsIconAndLaunches();
    // Trellin's folders, in the order a user meets them.
    void foldersInTheDockShowTheirDrawnTiles();
    void aStyleChangeReachesTheDockIcon();
    void aClickOnTheDockIconOpensThePopupThereAndLaunches();
    void removingFromTheDockTakesTheFolderOut();
};

void PlankEndToEndTest::aPinnedEntryShowsItsIconAndLaunches() {
    const QString id = HostDesktop::probeEntryId;
    const QString icon = m_desktop.writeProbeEntry(QStringLiteral(TRELLIN_FIXTURE_APP));
    QVERIFY(!icon.isEmpty());
    QVERIFY(m_plank.add(id));
    QTRY_VERIFY_WITH_TIMEOUT(m_plank.isPinned(id), 5000);
    const std::optional<QPoint> tile = m_plank.tileCentre(id);
    QVERIFY(tile);
    QVERIFY(m_plank.point(id));
    QTRY_VERIFY_WITH_TIMEOUT(pixelsNear(saveScreen("dock-host-plank-probe.png"),
                                        QRect(tile->x() - 20, tile->y() - 20, 40, 40), HostDesktop::probeColour) > 400,
                             10000);

    QVERIFY(m_plank.click(id));
    QTRY_VERIFY_WITH_TIMEOUT(readFile(m_desktop.fixtureLog()).contains("--entry=probe"), 10000);

    QVERIFY(m_plank.remove(id));
    QTRY_VERIFY_WITH_TIMEOUT(!m_plank.isPinned(id), 5000);
}

void PlankEndToEndTest::foldersInTheDockShowTheirDrawnTiles() {
    QVERIFY(m_trellin.writeFolders({kWork, kGames}));
    QVERIFY(QDir().mkpath(m_desktop.path("Library/Preferences")));
    QVERIFY(PropertyList::writeFileAtomically(m_desktop.path("Library/Preferences/app.trellin.Trellin.plist"),
                                              QVariantMap{{"hasCompletedOnboarding", true}},
                                              PropertyList::Format::Xml));
    m_trellin.startMainApplication();
    // It says which dock stands for the Dock.
    const bool named = QTest::qWaitFor([&] { return m_trellin.mainOutput().contains("The Dock is Plank"); }, 20000);
    QVERIFY2(named, m_trellin.mainOutput().constData());

    // The main window's switches put both folders into the Dock, as a user puts them.
    QString window;
    QTRY_VERIFY_WITH_TIMEOUT(!(window = windowTitled("Trellin")).isEmpty(), 15000);
    QList<QPoint> switches;
    QTRY_VERIFY_WITH_TIMEOUT((switches = TrellinOnDesktop::inDockSwitches(
                                  saveScreen(QStringLiteral("dock-host-plank-main-window.png")), geometryOf(window)))
                                     .size() == 2,
                             10000);
    for (const QPoint& point : std::as_const(switches)) {
        QVERIFY(moveMouse(point));
        QVERIFY(run({"click", "1"}));
    }

    for (const TrellinOnDesktop::Folder& folder : {kWork, kGames}) {
        const QString id = TrellinOnDesktop::entryId(folder.id);
        QVERIFY2(QTest::qWaitFor([&] { return m_plank.isPinned(id); }, 30000), qPrintable(describe()));
        // Its launcher reaches its helper and names a picture large enough for any dock.
        const QMap<QString, QString> entry = m_trellin.entry(folder.id);
        QCOMPARE(entry.value("Name"), folder.name);
        QVERIFY2(entry.value("Exec").contains("/Trellin/Helpers/" + folder.name + ".app/"),
                 qPrintable(entry.value("Exec")));
        QVERIFY(!entry.value("StartupWMClass").isEmpty());
        const QImage picture(entry.value("Icon"));
        QVERIFY2(QDir::isAbsolutePath(entry.value("Icon")) && picture.width() >= 256, qPrintable(entry.value("Icon")));
        // The dock shows that picture: the folder's tile with its application's icon.
        QVERIFY2(drawnTile(folder, folder.colour), qPrintable(folder.name + " shows no drawn tile in the dock"));
    }
    verifyNoStrayApplications(true);
    m_foldersInDock = true;
}

void PlankEndToEndTest::aClickOnTheDockIconOpensThePopupThereAndLaunches() {
    if (!m_foldersInDock)
        QFAIL("the folders did not reach the dock");
    // The main window closed: the dock alone stands for Trellin.
    if (const QString window = windowTitled("Trellin"); !window.isEmpty()) {
        QVERIFY(moveMouse(TrellinOnDesktop::closeButton(saveScreen(QStringLiteral("dock-host-plank-main-window.png")),
                                                        geometryOf(window))));
        QVERIFY(run({"click", "1"}));
        QTRY_VERIFY_WITH_TIMEOUT(windowTitled("Trellin").isEmpty(), 5000);
    }
    const std::optional<QRect> tile = drawnTile(kWork, kWork.colour);
    QVERIFY(tile);
    const qint64 launches = readFile(m_desktop.fixtureLog()).count('\n');
    QTRY_VERIFY_WITH_TIMEOUT(m_plank.transientApplications() == QStringList(), 5000);
    QVERIFY(m_plank.click(TrellinOnDesktop::entryId(kWork.id)));
    QString popup;
    QTRY_VERIFY_WITH_TIMEOUT(!(popup = windowTitled(kWork.name)).isEmpty(), 15000);
    // Above the dock, just off it, its arrow (the middle of its near edge) at the tile.
    const QRect dock = QGuiApplication::primaryScreen()->geometry().adjusted(0, workArea().bottom() + 1, 0, 0);
    QRect panel;
    QTRY_VERIFY_WITH_TIMEOUT((panel = geometryOf(popup)).isValid() && panel.bottom() < dock.top(), 5000);
    QVERIFY2(dock.top() - panel.bottom() < 40, "the popup stands far off the dock");
    QVERIFY2(qAbs(panel.center().x() - tile->center().x()) <= 2, "the popup's arrow is not at the tile");
    verifyNoStrayApplications(false);
    // Two folders in the dock and the popup open, for a person to look at.
    QImage shot;
    QTRY_VERIFY_WITH_TIMEOUT(
        colourBounds(shot = saveScreen(QStringLiteral("dock-host-plank.png")), panel, kWork.colour).width() > 20, 5000);

    const QRect app = colourBounds(shot, panel, kWork.colour);
    QVERIFY(moveMouse(app.center()));
    QVERIFY(run({"click", "1"}));
    QTRY_VERIFY_WITH_TIMEOUT(readFile(m_desktop.fixtureLog()).count('\n') > launches, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(windowTitled(kWork.name).isEmpty(), 5000);
}

void PlankEndToEndTest::aStyleChangeReachesTheDockIcon() {
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
    QVERIFY2(QTest::qWaitFor([&] { return m_trellin.entry(kWork.id).value("Icon") != before; }, 15000),
             qPrintable(describe()));
    QVERIFY(!m_trellin.entry(kWork.id).value("Icon").isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(before), 10000);
    QVERIFY2(drawnTile(kWork, kStyleColour), "the dock still shows the old picture");
}

void PlankEndToEndTest::removingFromTheDockTakesTheFolderOut() {
    if (!m_foldersInDock)
        QFAIL("the folders did not reach the dock");
    // Its helper runs, as after any click on its tile.
    QVERIFY(m_plank.click(TrellinOnDesktop::entryId(kGames.id)));
    QTRY_VERIFY_WITH_TIMEOUT(!windowTitled(kGames.name).isEmpty(), 15000);
    // A click away closes it.
    QVERIFY(moveMouse({200, 300}));
    QVERIFY(run({"click", "1"}));
    QTRY_VERIFY_WITH_TIMEOUT(windowTitled(kGames.name).isEmpty(), 5000);
    QVERIFY(m_trellin.isHelperRunning(kGames.name));
    QVERIFY(m_trellin.storedFolder(kGames.id).value("isInDock").toBool());

    // As unticking "Keep in Dock" does.
    QVERIFY(m_plank.remove(TrellinOnDesktop::entryId(kGames.id)));
    QTRY_COMPARE_WITH_TIMEOUT(m_trellin.storedFolder(kGames.id).value("isInDock").toBool(true), false, 20000);
    QTRY_VERIFY_WITH_TIMEOUT(!m_trellin.isHelperRunning(kGames.name), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(m_trellin.entryPath(kGames.id)), 10000);
    // The other folder stays.
    QVERIFY(m_plank.isPinned(TrellinOnDesktop::entryId(kWork.id)));
    QVERIFY(m_trellin.storedFolder(kWork.id).value("isInDock").toBool());
}

int main(int argc, char** argv) {
    HostDesktop desktop;
    if (!desktop.startDisplay()) {
        qCritical("PlankEndToEndTest: no X server of its own could be started");
        return 1;
    }
    QGuiApplication application(argc, argv);
    PlankEndToEndTest test(desktop);
    return QTest::qExec(&test, argc, argv);
}

#include "PlankEndToEndTest.moc"
