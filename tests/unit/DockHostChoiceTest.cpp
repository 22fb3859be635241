// Which dock a folder stands in, for every mix of setting, running docks and desktop.
#include "platform/DockHostChoice.h"
#include "platform/DockHostIds.h"

#include <QTest>

class DockHostChoiceTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void choice_data() {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<bool>("plank");
        QTest::addColumn<bool>("gnome");
        QTest::addColumn<bool>("plasma");
        QTest::addColumn<bool>("trellinDock");
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<QString>("host");
        const QString automatic = DockHostIds::automatic;
        // A forced host is waited for, whatever else runs.
        QTest::newRow("forced Plank, not running")
            << DockHostIds::plank << false << true << false << true << "GNOME" << DockHostIds::plank;
        QTest::newRow("forced GNOME, nothing runs")
            << DockHostIds::gnomeShell << false << false << false << false << "XFCE" << DockHostIds::gnomeShell;
        QTest::newRow("forced Linux Dock beside Plank")
            << DockHostIds::trellinDock << true << false << false << false << "" << DockHostIds::trellinDock;
        // Automatic: the running dock, Plank first (it is what a user starts on top of a desktop).
        QTest::newRow("Plank on GNOME") << automatic << true << true << false << false << "GNOME" << DockHostIds::plank;
        QTest::newRow("GNOME and the Linux Dock")
            << automatic << false << true << false << true << "GNOME" << DockHostIds::gnomeShell;
        QTest::newRow("the Linux Dock on a GNOME desktop before the shell")
            << automatic << false << false << false << true << "GNOME" << DockHostIds::trellinDock;
        // Nothing runs yet: the desktop says what is still starting.
        QTest::newRow("GNOME starting") << automatic << false << false << false << false << "GNOME"
                                        << DockHostIds::gnomeShell;
        QTest::newRow("Ubuntu starting") << automatic << false << false << false << false << "ubuntu:GNOME"
                                         << DockHostIds::gnomeShell;
        QTest::newRow("lower case") << automatic << false << false << false << false << "gnome"
                                    << DockHostIds::gnomeShell;
        QTest::newRow("Flashback is no shell")
            << automatic << false << false << false << false << "GNOME-Flashback:GNOME" << DockHostIds::trellinDock;
        QTest::newRow("GNOME in a longer name")
            << automatic << false << false << false << false << "GNOMEish" << DockHostIds::trellinDock;
        // KDE Plasma: after GNOME Shell, before the Linux Dock, and waited for while it starts.
        QTest::newRow("forced Plasma, not running")
            << DockHostIds::kdePlasma << false << false << false << true << "GNOME" << DockHostIds::kdePlasma;
        QTest::newRow("Plasma runs") << automatic << false << false << true << false << "KDE" << DockHostIds::kdePlasma;
        QTest::newRow("Plank on Plasma") << automatic << true << false << true << false << "KDE" << DockHostIds::plank;
        QTest::newRow("GNOME Shell and Plasma")
            << automatic << false << true << true << false << "KDE" << DockHostIds::gnomeShell;
        QTest::newRow("Plasma beside the Linux Dock")
            << automatic << false << false << true << true << "" << DockHostIds::kdePlasma;
        QTest::newRow("the Linux Dock on a KDE desktop before Plasma")
            << automatic << false << false << false << true << "KDE" << DockHostIds::trellinDock;
        QTest::newRow("KDE starting") << automatic << false << false << false << false << "KDE"
                                      << DockHostIds::kdePlasma;
        QTest::newRow("KDE in a list, lower case")
            << automatic << false << false << false << false << "X-Generic:kde" << DockHostIds::kdePlasma;
        QTest::newRow("KDE in a longer name")
            << automatic << false << false << false << false << "KDEish" << DockHostIds::trellinDock;
        QTest::newRow("no desktop") << automatic << false << false << false << false << "" << DockHostIds::trellinDock;
        QTest::newRow("unknown setting is automatic")
            << "Plank" << false << true << false << false << "" << DockHostIds::gnomeShell;
        QTest::newRow("empty setting is automatic")
            << "" << true << false << false << false << "" << DockHostIds::plank;
    }
    void choice() {
        QFETCH(QString, setting);
        QFETCH(bool, plank);
        QFETCH(bool, gnome);
        QFETCH(bool, plasma);
        QFETCH(bool, trellinDock);
        QFETCH(QString, desktop);
        QFETCH(QString, host);
        QCOMPARE(DockHostChoice::choose(setting, {.plankRuns = plank,
                                                  .gnomeShellRuns = gnome,
                                                  .plasmaRuns = plasma,
                                                  .trellinDockRuns = trellinDock,
                                                  .currentDesktop = desktop}),
                 host);
    }
};

QTEST_GUILESS_MAIN(DockHostChoiceTest)
#include "DockHostChoiceTest.moc"
