// Quitting as a session's end (SIGTERM), a terminal (SIGINT) or the tray's menu asks for it ends
// the application within a second, whatever it shows: the main window on its settings with the
// update window open beside it and the menu-bar item on, the first-run guide, an open sheet. It leaves the normal way,
// with status 0.

#include "DesktopTestCase.h"
#include "TestFiles.h"
#include "TrayWatcher.h"
#include "XSession.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QTest>
#include <QUrl>

#include <csignal>
#include <optional>

using namespace XSession;

class QuitEndToEndTest : public DesktopTestCase {
    Q_OBJECT

    QString trellin() const { return QStringLiteral(TRELLIN_BUNDLE_DIR "/Contents/MacOS/Trellin"); }

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

    // Clicks the item labelled `label` in the menu of the tray item `service`, as a tray host does.
    bool clickTrayMenuItem(const QString& service, const QString& label) {
        QDBusMessage menuPath =
            QDBusMessage::createMethodCall(service, "/StatusNotifierItem", "org.freedesktop.DBus.Properties", "Get");
        menuPath << QStringLiteral("org.kde.StatusNotifierItem") << QStringLiteral("Menu");
        const QDBusMessage pathReply = m_connection.call(menuPath);
        if (pathReply.type() != QDBusMessage::ReplyMessage)
            return false;
        const QString menu =
            pathReply.arguments().value(0).value<QDBusVariant>().variant().value<QDBusObjectPath>().path();

        // Items carry small numbers; a host asks for them by number.
        QList<int> ids;
        for (int id = 0; id < 64; ++id)
            ids.append(id);
        QDBusMessage properties =
            QDBusMessage::createMethodCall(service, menu, "com.canonical.dbusmenu", "GetGroupProperties");
        properties << QVariant::fromValue(ids) << QStringList{QStringLiteral("label")};
        const QDBusMessage propertiesReply = m_connection.call(properties);
        if (propertiesReply.type() != QDBusMessage::ReplyMessage)
            return false;
        const QDBusArgument items = propertiesReply.arguments().value(0).value<QDBusArgument>();
        std::optional<int> found;
        items.beginArray();
        while (!items.atEnd()) {
            int id = 0;
            QVariantMap values;
            items.beginStructure();
            items >> id >> values;
            items.endStructure();
            if (values.value("label").toString().remove(u'_') == label)
                found = id;
        }
        items.endArray();
        if (!found)
            return false;
        QDBusMessage click = QDBusMessage::createMethodCall(service, menu, "com.canonical.dbusmenu", "Event");
        click << *found << QStringLiteral("clicked") << QVariant::fromValue(QDBusVariant(0)) << 0u;
        return m_connection.call(click).type() == QDBusMessage::ReplyMessage;
    }

private Q_SLOTS:
    void init() {
        setUpDesktop();
        prepareMenuBarUser();
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

    // The first-run guide, and a sheet with its own modal focus over the folder list, hold no quit.
    void aQuitRequestEndsTheGuideAndAnOpenSheet_data() {
        QTest::addColumn<bool>("firstRun");
        QTest::newRow("first-run guide") << true;
        QTest::newRow("New Folder sheet") << false;
    }

    void aQuitRequestEndsTheGuideAndAnOpenSheet() {
        QFETCH(bool, firstRun);
        // A user with no folders and no settings yet meets the guide.
        if (firstRun) {
            QVERIFY(QFile::remove(path("Library/Preferences/app.trellin.Trellin.plist")));
            QVERIFY(QFile::remove(path("share/Trellin/folders.json")));
        }
        QProcess* process = startProgram(trellin());
        QString window;
        QTRY_VERIFY_WITH_TIMEOUT(!(window = windowTitled("Trellin")).isEmpty(), 15000);
        QTest::qWait(300);
        if (!firstRun) {
            run({"windowactivate", "--sync", window});
            QTest::qWait(200);
            run({"key", "ctrl+n"});
            QTest::qWait(500);
        }
        saveScreen(firstRun ? QStringLiteral("quit-first-run.png") : QStringLiteral("quit-sheet.png"));
        QElapsedTimer elapsed;
        elapsed.start();
        ::kill(pid_t(process->processId()), SIGTERM);
        QVERIFY(process->waitForFinished(1000));
        QCOMPARE(process->exitStatus(), QProcess::NormalExit);
        QCOMPARE(process->exitCode(), 0);
        QVERIFY(elapsed.elapsed() < 1000);
    }

    void theTraysQuitEndsTheApplicationWhateverIsOpen() {
        TrayWatcher watcher;
        QVERIFY(watcher.publish(m_connection));
        // Without a tray window of its own, only the update window stands in the way, in about
        // half of the launches.
        for (int launch = 0; launch < 5; ++launch) {
            const qsizetype registered = watcher.items().size();
            QProcess* process = startWithSettingsAndUpdateWindow();
            QVERIFY2(process, "the settings and the update window did not both show");
            QTRY_VERIFY_WITH_TIMEOUT(watcher.items().size() > registered, 5000);
            QElapsedTimer elapsed;
            elapsed.start();
            QVERIFY(clickTrayMenuItem(watcher.items().last(), "Quit Trellin"));
            QVERIFY2(process->waitForFinished(1000),
                     qPrintable(QStringLiteral("still running after launch %1's Quit").arg(launch + 1)));
            QCOMPARE(process->exitStatus(), QProcess::NormalExit);
            QCOMPARE(process->exitCode(), 0);
            QVERIFY(elapsed.elapsed() < 1000);
        }
    }
};

QTEST_MAIN(QuitEndToEndTest)
#include "QuitEndToEndTest.moc"
