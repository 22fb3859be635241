// The login item as a desktop reads it at login: GIO loads the written entry and starts what its
// Exec line says, from an install path holding what quoting and field codes give meaning to.
#include "platform/linux/XdgAutostartLoginItem.h"
#include "platform/linux/GioDesktopEntries.h"

#include "ProcessChildren.h"
#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

class XdgAutostartLoginItemTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void installPathReachesTheProgramIntact_data() {
        QTest::addColumn<QString>("folder");
        QTest::newRow("spaces") << "My Apps";
        QTest::newRow("percent signs") << "100% %c %u %f %% %";
        QTest::newRow("quotes") << R"(say "hi" it's 'so')";
        QTest::newRow("shell characters") << R"(back\slash \\ $HOME ${X} `id` ;|&*? ~)";
        QTest::newRow("line break") << "two\nlines\nHidden=true";
        QTest::newRow("all at once") << R"(a "b" 'c' \d $e `f` 50%% %i)";
    }

    void installPathReachesTheProgramIntact() {
        QFETCH(QString, folder);
        QTemporaryDir root;
        const QString macOS = root.filePath(folder + "/Trellin.app/Contents/MacOS");
        const QString program = macOS + "/Trellin";
        const QString log = root.filePath("started-as");
        QVERIFY(QDir().mkpath(macOS));
        // Records the path it was started by, as the program would see it.
        QVERIFY(writeFile(program, "#!/bin/sh\nprintf '%s' \"$0\" > \"$TRELLIN_AUTOSTART_LOG\"\n"));
        QVERIFY(QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        qputenv("TRELLIN_AUTOSTART_LOG", QFile::encodeName(log));

        XdgAutostartLoginItem item(root.filePath("autostart"), "app.trellin.Trellin", "Trellin", program);
        const std::optional<LoginItemFailure> failure = item.registerMainApp();
        QVERIFY2(!failure, failure ? qPrintable(failure->description) : "");
        QVERIFY(item.isRegistered());
        const QStringList lines = QString::fromUtf8(readFile(item.entryPath())).split('\n');
        QCOMPARE(lines.filter(QRegularExpression("^Exec=")).size(), 1);
        QVERIFY2(!lines.contains("Hidden=true"), "a line break in the path made a key of its own");

        QCOMPARE(GioDesktopEntries().launch(item.entryPath(), {}), std::nullopt);
        QTRY_COMPARE(QFile::decodeName(readFile(log)), program);
        QTRY_COMPARE(childrenOfThisProcess(), QStringList());
    }

    // What is registered is read from the entry itself: one switched off by the desktop, or left by
    // a bundle that has since moved, starts nothing of ours.
    void registrationIsReadFromTheEntry() {
        QTemporaryDir root;
        const QString program = root.filePath("Trellin.app/Contents/MacOS/Trellin");
        XdgAutostartLoginItem item(root.filePath("autostart"), "app.trellin.Trellin", "Trellin", program);
        QVERIFY(!item.isRegistered());
        QCOMPARE(item.registerMainApp(), std::nullopt);
        QVERIFY(item.isRegistered());
        const QByteArray entry = readFile(item.entryPath());

        QVERIFY(writeFile(item.entryPath(), entry + "Hidden=true\n"));
        QVERIFY(!item.isRegistered());
        QVERIFY(writeFile(item.entryPath(),
                          QByteArray(entry).replace("Autostart-enabled=true", "Autostart-enabled=false")));
        QVERIFY(!item.isRegistered());
        // Keys of another group are not the entry's.
        QVERIFY(writeFile(item.entryPath(), entry + "[Desktop Action x]\nHidden=true\n"));
        QVERIFY(item.isRegistered());

        XdgAutostartLoginItem moved(root.filePath("autostart"), "app.trellin.Trellin", "Trellin",
                                    root.filePath("Elsewhere/Trellin.app/Contents/MacOS/Trellin"));
        QVERIFY(!moved.isRegistered());
        QCOMPARE(moved.registerMainApp(), std::nullopt);
        QVERIFY(moved.isRegistered() && !item.isRegistered());

        QCOMPARE(item.unregisterMainApp(), std::nullopt);
        QVERIFY(!moved.isRegistered());
        QCOMPARE(item.unregisterMainApp(), std::nullopt); // nothing there is no failure
    }

    // A refusal says what was being done and why, and leaves the registration as it was.
    void refusalsAreTold() {
        QTemporaryDir root;
        const QString program = root.filePath("Trellin.app/Contents/MacOS/Trellin");
        // A file where the folder should be.
        QVERIFY(writeFile(root.filePath("blocked"), {}));
        XdgAutostartLoginItem blocked(root.filePath("blocked/autostart"), "app.trellin.Trellin", "Trellin", program);
        std::optional<LoginItemFailure> failure = blocked.registerMainApp();
        QVERIFY(failure);
        QCOMPARE(failure->action, LoginItemFailure::Action::Register);
        QCOMPARE(failure->reason, LoginItemFailure::Reason::CannotCreateFolder);
        QVERIFY(failure->description.contains(root.filePath("blocked/autostart")));
        QVERIFY(!blocked.isRegistered());

        XdgAutostartLoginItem unbundled(root.filePath("autostart"), "app.trellin.Trellin", "Trellin", {});
        QCOMPARE(unbundled.registerMainApp()->reason, LoginItemFailure::Reason::NotInBundle);
        QVERIFY(!QFile::exists(root.filePath("autostart")));

        if (::geteuid() == 0)
            QSKIP("permissions do not bind the superuser");
        XdgAutostartLoginItem item(root.filePath("autostart"), "app.trellin.Trellin", "Trellin", program);
        QCOMPARE(item.registerMainApp(), std::nullopt);
        const auto readOnly = QFile::ReadOwner | QFile::ExeOwner;
        QVERIFY(QFile::setPermissions(root.filePath("autostart"), readOnly));
        failure = item.unregisterMainApp();
        QVERIFY(failure && failure->action == LoginItemFailure::Action::Unregister &&
                failure->reason == LoginItemFailure::Reason::CannotRemove);
        QVERIFY(item.isRegistered());
        QCOMPARE(item.registerMainApp()->reason, LoginItemFailure::Reason::CannotWrite);
        QVERIFY(item.isRegistered());
        QVERIFY(QFile::setPermissions(root.filePath("autostart"), readOnly | QFile::WriteOwner));
    }
};

QTEST_GUILESS_MAIN(XdgAutostartLoginItemTest)
#include "XdgAutostartLoginItemTest.moc"
