// Trellin inside the real Plank: one Plank with bamfdaemon and openbox on a display of their own,
// shared by the cases, driven through Plank's D-Bus API and the mouse as a user drives it.
#include "HostDesktop.h"
#include "PlankHost.h"

#include "TestFiles.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>

namespace {

const QColor kProbeColour(255, 0, 255);

} // namespace

class PlankEndToEndTest : public QObject {
    Q_OBJECT
public:
    explicit PlankEndToEndTest(HostDesktop& desktop)
        : m_desktop(desktop)
        , m_plank(desktop) {}

private:
    QImage screen() const { return QGuiApplication::primaryScreen()->grabWindow(0).toImage(); }
    QImage saveScreen(const QString& name) const {
        const QImage shot = screen();
        shot.save(QCoreApplication::applicationDirPath() + u'/' + name);
        return shot;
    }

    HostDesktop& m_desktop;
    PlankHost m_plank;

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
};

void PlankEndToEndTest::aPinnedEntryShowsItsIconAndLaunches() {
    const QString id = QStringLiteral("trellin-e2e-probe.desktop");
    const QString icon = m_desktop.writeIcon(QStringLiteral("pictures/probe.png"), kProbeColour);
    QVERIFY(!m_desktop
                 .writeDesktopEntry(id, "[Desktop Entry]\nType=Application\nName=Probe\nIcon=" + icon +
                                            "\nExec=" TRELLIN_FIXTURE_APP " --entry=probe\nStartupNotify=false\n")
                 .isEmpty());
    QVERIFY(m_plank.add(id));
    QTRY_VERIFY_WITH_TIMEOUT(m_plank.isPinned(id), 5000);
    const std::optional<QPoint> tile = m_plank.tileCentre(id);
    QVERIFY(tile);
    QVERIFY(m_plank.point(id));
    QTRY_VERIFY_WITH_TIMEOUT(pixelsNear(saveScreen("dock-host-plank-probe.png"),
                                        QRect(tile->x() - 20, tile->y() - 20, 40, 40), kProbeColour) > 400,
                             10000);

    QVERIFY(m_plank.click(id));
    QTRY_VERIFY_WITH_TIMEOUT(readFile(m_desktop.fixtureLog()).contains("--entry=probe"), 10000);

    QVERIFY(m_plank.remove(id));
    QTRY_VERIFY_WITH_TIMEOUT(!m_plank.isPinned(id), 5000);
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
