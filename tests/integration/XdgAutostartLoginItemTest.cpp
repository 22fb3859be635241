// The login item as a desktop reads it at login: GIO loads the written entry and starts what its
// Exec line says, from an install path holding what quoting and field codes give meaning to.
#include "platform/linux/XdgAutostartLoginItem.h"
#include "platform/linux/GioDesktopEntries.h"

#include "ProcessChildren.h"
#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

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
        QString error;
        QVERIFY2(item.registerMainApp(&error), qPrintable(error));
        const QStringList lines = QString::fromUtf8(readFile(item.entryPath())).split('\n');
        QCOMPARE(lines.filter(QRegularExpression("^Exec=")).size(), 1);
        QVERIFY2(!lines.contains("Hidden=true"), "a line break in the path made a key of its own");

        QCOMPARE(GioDesktopEntries().launch(item.entryPath(), {}), std::nullopt);
        QTRY_COMPARE(QFile::decodeName(readFile(log)), program);
        QTRY_COMPARE(childrenOfThisProcess(), QStringList());
    }
};

QTEST_GUILESS_MAIN(XdgAutostartLoginItemTest)
#include "XdgAutostartLoginItemTest.moc"
