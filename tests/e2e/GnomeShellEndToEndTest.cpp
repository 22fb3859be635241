// Trellin inside the real GNOME Shell 43 with dash-to-dock, an X11 session on a display of its
// own: one shell shared by the cases, its dock read through Eval and driven with the mouse and
// the shell's favourites as a user drives them.
#include "GnomeShellHost.h"
#include "HostDesktop.h"

#include "TestFiles.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTest>

namespace {

const QColor kProbeColour(255, 0, 255);

} // namespace

class GnomeShellEndToEndTest : public QObject {
    Q_OBJECT
public:
    explicit GnomeShellEndToEndTest(HostDesktop& desktop)
        : m_desktop(desktop)
        , m_shell(desktop) {}

private:
    QImage screenshot(const QString& name) const {
        return m_shell.screenshot(QCoreApplication::applicationDirPath() + u'/' + name);
    }

    HostDesktop& m_desktop;
    GnomeShellHost m_shell;

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(m_desktop.startBuses());
        QVERIFY2(m_shell.start(), "GNOME Shell did not start with dash-to-dock and Eval");
    }

    void cleanupTestCase() { m_desktop.shutDown(); }

    // The harness itself, with an entry written by hand: pinned, the dock shows its icon's file;
    // clicked, its program runs; unpinned, it goes.
    void aPinnedEntryShowsItsIconAndLaunches();
};

void GnomeShellEndToEndTest::aPinnedEntryShowsItsIconAndLaunches() {
    const QString id = QStringLiteral("trellin-e2e-probe.desktop");
    const QString icon = m_desktop.writeIcon(QStringLiteral("pictures/probe.png"), kProbeColour);
    QVERIFY(!m_desktop
                 .writeDesktopEntry(id, "[Desktop Entry]\nType=Application\nName=Probe\nIcon=" + icon +
                                            "\nExec=" TRELLIN_FIXTURE_APP " --entry=probe\nStartupNotify=false\n")
                 .isEmpty());
    // The shell learns of a new entry a few seconds after it is written.
    QTRY_VERIFY_WITH_TIMEOUT(m_shell.pin(id), 15000);
    std::optional<GnomeShellHost::DashIcon> shown;
    QTRY_VERIFY_WITH_TIMEOUT((shown = m_shell.dashIcon(id)).has_value(), 5000);
    QCOMPARE(shown->icon, icon);
    // The dash grows a new icon into its place.
    QTRY_VERIFY_WITH_TIMEOUT(
        (shown = m_shell.dashIcon(id)) &&
            pixelsNear(screenshot(QStringLiteral("dock-host-gnome-probe.png")), shown->rect, kProbeColour) > 400,
        5000);

    QVERIFY(m_shell.click(id));
    QTRY_VERIFY_WITH_TIMEOUT(readFile(m_desktop.fixtureLog()).contains("--entry=probe"), 10000);

    QVERIFY(m_shell.unpin(id));
    QTRY_VERIFY_WITH_TIMEOUT(!m_shell.dashIcon(id), 5000);
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
