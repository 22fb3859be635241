#include "platform/FolderLaunchers.h"
#include "platform/linux/X11WindowIdentity.h"

#include <QApplication>
#include <QProcess>
#include <QTest>
#include <QWidget>

namespace {

// A window property as xprop prints it, as a dock's matcher would read it.
QString windowProperty(const QWidget& window, const char* name) {
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"),
                {QStringLiteral("-id"), QString::number(window.winId()), QString::fromLatin1(name)});
    if (!xprop.waitForFinished(10000))
        return {};
    return QString::fromUtf8(xprop.readAllStandardOutput()).trimmed();
}

void showAndWait(QWidget& window) {
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
}

} // namespace

// What docks see of a process's windows: each matched to its launcher by class, and a helper's
// popup never an application of its own in a taskbar or pager.
class WindowIdentityEndToEndTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void helperWindowsCarryTheFolderClassAndStayOffTaskbars() {
        const QStringList environment = QProcess::systemEnvironment();
        const QUuid folder = QUuid::fromString(QStringLiteral("3F2504E0-4F89-11D3-9A0C-0305E82C3301"));
        const X11WindowIdentity identity(FolderLaunchers::windowClass(folder), true);
        QWidget popup(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
        popup.resize(120, 80);
        const QString expectedClass =
            QStringLiteral("WM_CLASS(STRING) = \"trellin-folder-3F2504E0-4F89-11D3-9A0C-0305E82C3301\", "
                           "\"trellin-folder-3F2504E0-4F89-11D3-9A0C-0305E82C3301\"");
        // Shown again after a close, as the popup is at every click: the window manager dropped
        // the withdrawn window's state in between.
        for (int opening = 0; opening < 2; ++opening) {
            showAndWait(popup);
            QCOMPARE(windowProperty(popup, "WM_CLASS"), expectedClass);
            const QString state = windowProperty(popup, "_NET_WM_STATE");
            QVERIFY2(state.contains(QLatin1String("_NET_WM_STATE_SKIP_TASKBAR")), qPrintable(state));
            QVERIFY2(state.contains(QLatin1String("_NET_WM_STATE_SKIP_PAGER")), qPrintable(state));
            // The toolkit's own state stays: the popup floats above other windows.
            QVERIFY2(state.contains(QLatin1String("_NET_WM_STATE_ABOVE")), qPrintable(state));
            popup.hide();
            QTRY_VERIFY(!windowProperty(popup, "WM_STATE").contains(QLatin1String("Normal")));
        }
        // Programs launched from here inherit nothing of it.
        QCOMPARE(QProcess::systemEnvironment(), environment);
    }

    void mainWindowsCarryTheApplicationClassAndStayListed() {
        const X11WindowIdentity identity(FolderLaunchers::mainWindowClass(), false);
        QWidget window;
        window.resize(200, 150);
        showAndWait(window);
        QCOMPARE(windowProperty(window, "WM_CLASS"), QStringLiteral("WM_CLASS(STRING) = \"trellin\", \"trellin\""));
        QVERIFY(!windowProperty(window, "_NET_WM_STATE").contains(QLatin1String("SKIP_TASKBAR")));
    }
};

QTEST_MAIN(WindowIdentityEndToEndTest)
#include "WindowIdentityEndToEndTest.moc"
