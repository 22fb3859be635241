// Quitting as a session's end (SIGTERM) or a terminal (SIGINT) asks for it ends the application
// within a second, whatever it shows: here the main window on its settings with the update window
// open beside it, and the menu-bar item on. It leaves the normal way, with status 0.
#include "platform/PropertyList.h"

#include "DesktopTestCase.h"
#include "TestFiles.h"
#include "XSession.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <QUrl>

#include <csignal>

using namespace XSession;

class QuitEndToEndTest : public DesktopTestCase {
    Q_OBJECT

    QString trellin() const { return QStringLiteral(TRELLIN_BUNDLE_DIR "/Contents/MacOS/Trellin"); }

    // A user past the first run, with a folder and the menu-bar item on.
    void prepareHome() {
        const QJsonObject folder{
            {"id", "0D0C0B0A-0000-4000-8000-000000000001"}, {"name", "Work"}, {"apps", QJsonArray{}}};
        QVERIFY(writeFile(path("share/Trellin/folders.json"), QJsonDocument(QJsonArray{folder}).toJson()));
        QVERIFY(QDir().mkpath(path("Library/Preferences")));
        QVERIFY(PropertyList::writeFileAtomically(path("Library/Preferences/app.trellin.Trellin.plist"),
                                                  QVariantMap{{"hasCompletedOnboarding", true}, {"showMenuBar", true}},
                                                  PropertyList::Format::Xml));
    }

    // Started with a newer version on the feed, so the update window opens; the main window is
    // then turned to its general settings.
    QProcess* startWithSettingsAndUpdateWindow() {
        const QString feed =
            QUrl::fromLocalFile(QStringLiteral(TRELLIN_SOURCE_DIR "/tests/fixtures/appcast/newer.xml")).toString();
        QProcess* process = startProgram(trellin(), {QStringLiteral("-SUFeedURL"), feed});
        QString offer;
        QString window;
        if (!QTest::qWaitFor(
                [&] {
                    offer = windowTitled("A new version of Trellin is available");
                    window = windowTitled("Trellin");
                    return !offer.isEmpty() && !window.isEmpty();
                },
                20000))
            return nullptr;
        const int folderListHeight = geometryOf(window).height();
        run({"windowactivate", "--sync", window});
        QTest::qWait(200);
        run({"key", "ctrl+comma"});
        if (!QTest::qWaitFor([&] { return geometryOf(window).height() < folderListHeight; }, 5000))
            return nullptr;
        // The update window is back in front, as a user may have left it.
        run({"windowactivate", "--sync", offer});
        QTest::qWait(200);
        return process;
    }

private Q_SLOTS:
    void init() {
        setUpDesktop();
        prepareHome();
    }
    void cleanup() { tearDownDesktop(); }

    void aQuitRequestEndsTheApplicationWhateverIsOpen_data() {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGINT") << SIGINT;
    }

    void aQuitRequestEndsTheApplicationWhateverIsOpen() {
        QFETCH(int, signal);
        // Which window is asked to close first changes from launch to launch, so a window that
        // would stand in the way is met in one of a few launches.
        for (int launch = 0; launch < 3; ++launch) {
            QProcess* process = startWithSettingsAndUpdateWindow();
            QVERIFY2(process, "the settings and the update window did not both show");
            QElapsedTimer elapsed;
            elapsed.start();
            ::kill(pid_t(process->processId()), signal);
            QVERIFY2(process->waitForFinished(1000),
                     qPrintable(QStringLiteral("still running after launch %1's quit request").arg(launch + 1)));
            QCOMPARE(process->exitStatus(), QProcess::NormalExit);
            QCOMPARE(process->exitCode(), 0);
            QVERIFY(elapsed.elapsed() < 1000);
            QTRY_VERIFY_WITH_TIMEOUT(windowTitled("Trellin").isEmpty(), 2000);
        }
    }
};

QTEST_MAIN(QuitEndToEndTest)
#include "QuitEndToEndTest.moc"
