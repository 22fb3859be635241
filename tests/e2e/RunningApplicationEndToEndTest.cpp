// Opening an application that already runs, as the popup and the Dock do: it is not started a
// second time, and it comes to the front as a click on its Dock tile brings it.
#include "platform/PropertyList.h"
#include "platform/linux/LinuxWorkspace.h"

#include "DesktopTestCase.h"
#include "TestFiles.h"
#include "XSession.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <QWidget>

using namespace XSession;

namespace {

using Outcome = std::shared_ptr<std::optional<std::optional<QString>>>; // unset until the completion ran

Outcome open(Workspace& workspace, const QString& bundle, bool activates, bool newInstance,
             const QStringList& arguments = {}) {
    Outcome outcome = std::make_shared<std::optional<std::optional<QString>>>();
    workspace.openApplication(bundle, {activates, newInstance, arguments},
                              [outcome](const std::optional<QString>& error) { *outcome = error; });
    return outcome;
}

QString activeWindow() {
    return xdotool({QStringLiteral("getactivewindow")});
}

} // namespace

class RunningApplicationEndToEndTest : public DesktopTestCase {
    Q_OBJECT

    int runningFrom(const QString& bundle) const {
        const QString path = QFileInfo(bundle).canonicalFilePath();
        int count = 0;
        for (const Workspace::RunningApplication& application : LinuxWorkspace().runningApplications())
            count += application.bundlePath == path;
        return count;
    }

    // A window of the test's own over everything, holding the focus as after a click on it.
    void cover(QWidget& window, const QString& title) {
        window.setWindowTitle(title);
        window.resize(700, 500);
        window.show();
        QString id;
        QTRY_VERIFY_WITH_TIMEOUT(!(id = windowTitled(title)).isEmpty(), 10000);
        QVERIFY(run({"windowactivate", "--sync", id}));
        QTRY_COMPARE_WITH_TIMEOUT(activeWindow(), id, 5000);
    }

private Q_SLOTS:
    void init() { setUpDesktop(); }
    void cleanup() { tearDownDesktop(); }

    void aRunningApplicationsWindowComesToTheFront() {
        const QString bundle = path("Apps/Window.app");
        QVERIFY(QDir().mkpath(bundle + "/Contents/MacOS"));
        QVERIFY(QFile::copy(QStringLiteral(TRELLIN_FIXTURE_WINDOW), bundle + "/Contents/MacOS/window"));
        QVERIFY(PropertyList::writeFileAtomically(
            bundle + "/Contents/Info.plist",
            QVariantMap{{"CFBundleExecutable", "window"}, {"CFBundleIdentifier", "test.Window"}},
            PropertyList::Format::Xml));
        LinuxWorkspace workspace;
        workspace.setBus(m_connection);
        const Outcome started = open(workspace, bundle, true, true, {"Fixture Window"});
        QTRY_VERIFY_WITH_TIMEOUT(started->has_value(), 5000);
        QCOMPARE(**started, std::nullopt);
        QString window;
        QTRY_VERIFY_WITH_TIMEOUT(!(window = windowTitled("Fixture Window")).isEmpty(), 15000);

        QWidget other;
        cover(other, "Cover");
        const Outcome again = open(workspace, bundle, true, false);
        QTRY_VERIFY_WITH_TIMEOUT(again->has_value(), 5000);
        QCOMPARE(**again, std::nullopt);
        QTRY_COMPARE_WITH_TIMEOUT(activeWindow(), window, 5000);
        QCOMPARE(runningFrom(bundle), 1);
        saveScreen("running-application-raised.png");

        // Minimised, it is shown again.
        QVERIFY(run({"windowminimize", "--sync", window}));
        QTRY_VERIFY_WITH_TIMEOUT(windowTitled("Fixture Window").isEmpty(), 5000);
        cover(other, "Cover");
        open(workspace, bundle, true, false);
        QTRY_COMPARE_WITH_TIMEOUT(windowTitled("Fixture Window"), window, 5000);
        QTRY_COMPARE_WITH_TIMEOUT(activeWindow(), window, 5000);

        // Opened without activating, as the helpers are started: nothing moves.
        cover(other, "Cover");
        const QString covering = activeWindow();
        const Outcome quiet = open(workspace, bundle, false, false);
        QTRY_VERIFY_WITH_TIMEOUT(quiet->has_value(), 5000);
        QTest::qWait(500);
        QCOMPARE(activeWindow(), covering);
        QCOMPARE(runningFrom(bundle), 1);
    }

    // Trellin answers reopens: its hidden main window comes back, and no second one starts.
    void aRunningTrellinIsSentAReopen() {
        const QJsonObject folder{
            {"id", "0D0C0B0A-0000-4000-8000-000000000001"}, {"name", "Work"}, {"apps", QJsonArray{}}};
        QVERIFY(writeFile(path("share/Trellin/folders.json"), QJsonDocument(QJsonArray{folder}).toJson()));
        startProgram(QStringLiteral(TRELLIN_BUNDLE_DIR "/Contents/MacOS/Trellin"));
        QString window;
        QTRY_VERIFY_WITH_TIMEOUT(!(window = windowTitled("Trellin")).isEmpty(), 15000);
        QTest::qWait(500);
        // The close light hides the window; the application keeps running.
        const QRect frame = geometryOf(window);
        QVERIFY(moveMouse(frame.topLeft() + QPoint(23, 22)));
        QTest::qWait(150);
        QVERIFY(run({"click", "1"}));
        QTRY_VERIFY_WITH_TIMEOUT(windowTitled("Trellin").isEmpty(), 5000);

        LinuxWorkspace workspace;
        workspace.setBus(m_connection);
        const Outcome reopened = open(workspace, QStringLiteral(TRELLIN_BUNDLE_DIR), true, false);
        QTRY_VERIFY_WITH_TIMEOUT(reopened->has_value(), 5000);
        QCOMPARE(**reopened, std::nullopt);
        QTRY_COMPARE_WITH_TIMEOUT(windowTitled("Trellin"), window, 10000);
        // The second launch ends once it has handed over, on its own time.
        QTRY_COMPARE_WITH_TIMEOUT(runningFrom(QStringLiteral(TRELLIN_BUNDLE_DIR)), 1, 5000);
    }
};

QTEST_MAIN(RunningApplicationEndToEndTest)
#include "RunningApplicationEndToEndTest.moc"
