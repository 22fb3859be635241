// Mouse-downs anywhere on a real X server, clicks on other programs' windows and on none
// included, as xdotool makes them.
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
        const auto left = monitor.addGlobalMouseDownMonitor(unsigned(MouseDown::Left), [&] { heard << "left"; });
        const auto both =
            monitor.addGlobalMouseDownMonitor(MouseDown::Left | MouseDown::Right, [&] { heard << "any"; });
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
        QVERIFY(monitor.addGlobalMouseDownMonitor(unsigned(MouseDown::Left), [&] { heard << "again"; }));
        click("1");
        QTRY_COMPARE(heard.last(), "again");
    }
};

QTEST_MAIN(XInputEventMonitorTest)
#include "XInputEventMonitorTest.moc"
