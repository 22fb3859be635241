// A first start as a user meets it, with the Linux Dock: the guide's choices end up in the
// defaults file, the menu-bar setting takes the application's own tile out of the Dock and back,
// and a newer version on the update feed is offered at launch.
#include "platform/PropertyList.h"

#include "DesktopTestCase.h"
#include "RunningInDock.h"
#include "TestFiles.h"
#include "TrayWatcher.h"
#include "XSession.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <QUrl>

using namespace XSession;

class FirstRunEndToEndTest : public DesktopTestCase {
    Q_OBJECT

    QString trellin() const { return QStringLiteral(TRELLIN_BUNDLE_DIR "/Contents/MacOS/Trellin"); }

    QVariantMap defaults() const {
        const auto document = PropertyList::readFile(path("Library/Preferences/app.trellin.Trellin.plist"));
        return document ? document->root.toMap() : QVariantMap();
    }

    void startDock() {
        startProgram(QStringLiteral(TRELLIN_DOCK_EXE));
        QVERIFY(QTest::qWaitFor(
            [&] { return m_connection.interface()->isServiceRegistered("app.trellin.Dock").value(); }, 10000));
    }

    bool dockShowsTrellin() { return dockShowsRunning(m_connection, QStringLiteral(TRELLIN_BUNDLE_DIR)); }

    void keys(const QStringList& keys) {
        for (const QString& key : keys) {
            QVERIFY(run({"key", key}));
            QTest::qWait(120);
        }
    }

private Q_SLOTS:
    void init() { setUpDesktop(); }
    void cleanup() { tearDownDesktop(); }

    void theGuidesChoicesAreKeptAndTheMenuBarTakesTheDockTile() {
        // A desktop with a tray, where the menu-bar item can stand for the application.
        TrayWatcher tray;
        QVERIFY(tray.publish(m_connection));
        startDock();
        startProgram(trellin());
        QString window;
        QTRY_VERIFY_WITH_TIMEOUT(!(window = windowTitled("Trellin")).isEmpty(), 15000);
        QTRY_VERIFY_WITH_TIMEOUT(dockShowsTrellin(), 10000);
        QTest::qWait(300);

        // Continue twice (the workflow step chooses "above the Dock" by itself), switch the menu-bar
        // item on from the keyboard, and start.
        keys({"Return"});
        QTest::qWait(400);
        keys({"Return"});
        QTest::qWait(400);
        saveScreen(QStringLiteral("first-run-quick-setup.png"));
        keys({"shift+Tab", "shift+Tab", "shift+Tab", "space", "Tab", "Tab", "Tab", "Return"});
        QTRY_COMPARE_WITH_TIMEOUT(defaults().value("hasCompletedOnboarding").toBool(), true, 5000);
        const QVariantMap chosen = defaults();
        QCOMPARE(chosen.value("popupPosition").toString(), QStringLiteral("aboveDock"));
        QCOMPARE(chosen.value("showMenuBar").toBool(), true);
        QVERIFY2(!chosen.contains("launchAtLogin"), "an untouched switch was written");
        // Reachable from the menu bar now, the application leaves the Dock.
        QTRY_VERIFY_WITH_TIMEOUT(!dockShowsTrellin(), 5000);

        // Ctrl+, opens the general settings; the menu-bar switch, turned off, brings the tile back.
        keys({"ctrl+comma"});
        QTest::qWait(600);
        const QRect frame = geometryOf(window);
        QVERIFY(moveMouse(frame.topLeft() + QPoint(frame.width() - 57, 171)));
        QVERIFY(run({"click", "1"}));
        QTRY_COMPARE_WITH_TIMEOUT(defaults().value("showMenuBar", true).toBool(), false, 5000);
        QTRY_VERIFY_WITH_TIMEOUT(dockShowsTrellin(), 5000);
        saveScreen(QStringLiteral("first-run-general-settings.png"));
    }

    void aNewerVersionOnTheFeedIsOfferedAtLaunch() {
        // Past the first run: the user has a folder.
        const QJsonObject folder{
            {"id", "0D0C0B0A-0000-4000-8000-000000000001"}, {"name", "Work"}, {"apps", QJsonArray{}}};
        QVERIFY(writeFile(path("share/Trellin/folders.json"), QJsonDocument(QJsonArray{folder}).toJson()));
        const QString feed =
            QUrl::fromLocalFile(QStringLiteral(TRELLIN_SOURCE_DIR "/tests/fixtures/appcast/newer.xml")).toString();
        startProgram(trellin(), {QStringLiteral("-SUFeedURL"), feed});
        QString offer;
        QTRY_VERIFY_WITH_TIMEOUT(!(offer = windowTitled("A new version of Trellin is available")).isEmpty(), 20000);
        saveScreen(QStringLiteral("first-run-update-offered.png"));
        // Escape puts it off.
        QVERIFY(run({"windowactivate", "--sync", offer}));
        keys({"Escape"});
        QTRY_VERIFY_WITH_TIMEOUT(windowTitled("A new version of Trellin is available").isEmpty(), 5000);
    }
};

QTEST_MAIN(FirstRunEndToEndTest)
#include "FirstRunEndToEndTest.moc"
