// Mouse-downs and mouse-ups anywhere on a real X server, clicks on other programs' windows and
// on none included, as xdotool makes them.
#include "platform/linux/XInputEventMonitor.h"

#include <QGuiApplication>
#include <QProcess>
#include <QTest>

namespace {

void click(const QString& button) {
    QCOMPARE(QProcess::execute("xdotool", {"mousemove", "300", "300", "click", button}), 0);
}

} // namespace

class XInputEventMonitorTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void hearsLeftAndRightButtonsUntilRemoved() {
        XInputEventMonitor monitor;
        QStringList heard;
        const auto left = monitor.addGlobalMouseDownMonitor(unsigned(MouseButton::Left), [&] { heard << "left"; });
        const auto both =
            monitor.addGlobalMouseDownMonitor(MouseButton::Left | MouseButton::Right, [&] { heard << "any"; });
        QVERIFY(left && both && *left != *both);

        click("1");
        QTRY_COMPARE(heard, (QStringList{"left", "any"}));
        click("3");
        QTRY_COMPARE(heard.size(), 3);
        QCOMPARE(heard.last(), "any");
        // The middle button is neither.
        click("2");
        QTest::qWait(300);
        QCOMPARE(heard.size(), 3);

        monitor.removeMonitor(*left);
        monitor.removeMonitor(*both);
        click("1");
        QTest::qWait(300);
        QCOMPARE(heard.size(), 3);

        // Watching again after every monitor went.
        QVERIFY(monitor.addGlobalMouseDownMonitor(unsigned(MouseButton::Left), [&] { heard << "again"; }));
        click("1");
        QTRY_COMPARE(heard.last(), "again");
    }

    void hearsReleasesApartFromPresses() {
        XInputEventMonitor monitor;
        QStringList heard;
        const auto down = monitor.addGlobalMouseDownMonitor(unsigned(MouseButton::Left), [&] { heard << "down"; });
        const auto up = monitor.addGlobalMouseUpMonitor(MouseButton::Left | MouseButton::Right, [&] { heard << "up"; });
        QVERIFY(down && up);

        // A press held a while: the release comes when the button does.
        QCOMPARE(QProcess::execute("xdotool", {"mousemove", "300", "300", "mousedown", "1"}), 0);
        QTRY_COMPARE(heard, QStringList{"down"});
        QTest::qWait(300);
        QCOMPARE(heard, QStringList{"down"});
        QCOMPARE(QProcess::execute("xdotool", {"mouseup", "1"}), 0);
        QTRY_COMPARE(heard, (QStringList{"down", "up"}));

        // The release of the right button, whose press nobody here asked for.
        click("3");
        QTRY_COMPARE(heard.size(), 3);
        QCOMPARE(heard.last(), "up");

        monitor.removeMonitor(*up);
        click("1");
        QTRY_COMPARE(heard.size(), 4);
        QTest::qWait(300);
        QCOMPARE(heard.last(), "down");
        QCOMPARE(heard.size(), 4);
        monitor.removeMonitor(*down);
    }
};

QTEST_MAIN(XInputEventMonitorTest)
#include "XInputEventMonitorTest.moc"
