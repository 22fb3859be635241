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
        QTest::addColumn<bool>("trellinDock");
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<QString>("host");
        const QString automatic = DockHostIds::automatic;
        // A forced host is waited for, whatever else runs.
        QTest::newRow("forced Plank, not running")
            << DockHostIds::plank << false << true << true << "GNOME" << DockHostIds::plank;
        QTest::newRow("forced GNOME, nothing runs")
            << DockHostIds::gnomeShell << false << false << false << "XFCE" << DockHostIds::gnomeShell;
        QTest::newRow("forced Linux Dock beside Plank")
            << DockHostIds::trellinDock << true << false << false << "" << DockHostIds::trellinDock;
        // Automatic: the running dock, Plank first (it is what a user starts on top of a desktop).
        QTest::newRow("Plank on GNOME") << automatic << true << true << false << "GNOME" << DockHostIds::plank;
        QTest::newRow("GNOME and the Linux Dock")
            << automatic << false << true << true << "GNOME" << DockHostIds::gnomeShell;
        QTest::newRow("the Linux Dock on a GNOME desktop before the shell")
            << automatic << false << false << true << "GNOME" << DockHostIds::trellinDock;
        // Nothing runs yet: the desktop says what is still starting.
        QTest::newRow("GNOME starting") << automatic << false << false << false << "GNOME" << DockHostIds::gnomeShell;
        QTest::newRow("Ubuntu starting") << automatic << false << false << false << "ubuntu:GNOME"
                                         << DockHostIds::gnomeShell;
        QTest::newRow("lower case") << automatic << false << false << false << "gnome" << DockHostIds::gnomeShell;
        QTest::newRow("Flashback is no shell")
            << automatic << false << false << false << "GNOME-Flashback:GNOME" << DockHostIds::trellinDock;
        QTest::newRow("GNOME in a longer name")
            << automatic << false << false << false << "GNOMEish" << DockHostIds::trellinDock;
        QTest::newRow("KDE") << automatic << false << false << false << "KDE" << DockHostIds::trellinDock;
        QTest::newRow("no desktop") << automatic << false << false << false << "" << DockHostIds::trellinDock;
        QTest::newRow("unknown setting is automatic")
            << "Plank" << false << true << false << "" << DockHostIds::gnomeShell;
        QTest::newRow("empty setting is automatic") << "" << true << false << false << "" << DockHostIds::plank;
    }
    void choice() {
        QFETCH(QString, setting);
        QFETCH(bool, plank);
        QFETCH(bool, gnome);
        QFETCH(bool, trellinDock);
        QFETCH(QString, desktop);
        QFETCH(QString, host);
        QCOMPARE(DockHostChoice::choose(setting, {plank, gnome, trellinDock, desktop}), host);
    }
};

QTEST_GUILESS_MAIN(DockHostChoiceTest)
#include "DockHostChoiceTest.moc"
