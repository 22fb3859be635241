// The main window as a user meets it: it opens when the application starts, its close button
// hides it, and launching the application a second time brings the same window back on the
// folder list.
#include "DesktopTestCase.h"
#include "TestFiles.h"
#include "XSession.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

using namespace XSession;

class MainWindowEndToEndTest : public DesktopTestCase {
    Q_OBJECT

    QString trellin() const { return QStringLiteral(TRELLIN_BUNDLE_DIR "/Contents/MacOS/Trellin"); }

    void clickAt(QPoint point) {
        QVERIFY(moveMouse(point));
        QTest::qWait(150);
        QVERIFY(run({"click", "1"}));
    }

private Q_SLOTS:
    void init() { setUpDesktop(); }
    void cleanup() { tearDownDesktop(); }

    void secondLaunchBringsTheWindowBackOnTheFolderList() {
        // A user who already has a folder is past the first-run welcome.
        const QJsonObject folder{
            {"id", "0D0C0B0A-0000-4000-8000-000000000001"}, {"name", "Work"}, {"apps", QJsonArray{}}};
        QVERIFY(writeFile(path("share/Trellin/folders.json"), QJsonDocument(QJsonArray{folder}).toJson()));
        startProgram(trellin());
        QString window;
        QTRY_VERIFY_WITH_TIMEOUT(!(window = windowTitled("Trellin")).isEmpty(), 15000);
        QTRY_COMPARE_WITH_TIMEOUT(geometryOf(window).size(), QSize(560, 550), 5000);
        // The window carries the application's icon for window lists and docks, at several sizes.
        QProcess xprop;
        xprop.start("xprop", {"-id", window, "-notype", "_NET_WM_ICON"});
        QVERIFY(xprop.waitForFinished(5000));
        const QString icon = QString::fromUtf8(xprop.readAllStandardOutput());
        for (const int side : {16, 32, 128})
            QVERIFY2(icon.contains(QString("Icon (%1 x %1)").arg(side)),
                     qPrintable(icon.split(u'\n').filter("Icon (").join(",")));

        // The settings button (top right) opens the settings: a shorter window.
        QRect frame = geometryOf(window);
        clickAt(frame.topLeft() + QPoint(frame.width() - 26, 22));
        QTRY_VERIFY_WITH_TIMEOUT(geometryOf(window).height() < 550, 5000);

        // The close light hides the window; the application keeps running.
        frame = geometryOf(window);
        clickAt(frame.topLeft() + QPoint(23, 22));
        QTRY_VERIFY_WITH_TIMEOUT(windowTitled("Trellin").isEmpty(), 5000);

        startProgram(trellin());
        QTRY_COMPARE_WITH_TIMEOUT(windowTitled("Trellin"), window, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(geometryOf(window).size(), QSize(560, 550), 5000);
        saveScreen(QStringLiteral("main-window-reopened.png"));
    }
};

QTEST_MAIN(MainWindowEndToEndTest)
#include "MainWindowEndToEndTest.moc"
