// The session the application finds itself in, as the session's variables tell it, and whether its
// windows are sent through Xwayland.
#include "platform/linux/DesktopSession.h"

#include <QTest>

namespace {

QProcessEnvironment environment(const QStringList& assignments) {
    QProcessEnvironment environment;
    for (const QString& assignment : assignments)
        environment.insert(assignment.section(QLatin1Char('='), 0, 0), assignment.section(QLatin1Char('='), 1));
    return environment;
}

} // namespace

class DesktopSessionTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void detection_data() {
        QTest::addColumn<QStringList>("variables");
        QTest::addColumn<QString>("description");
        QTest::addColumn<bool>("pointerFollows");
        QTest::addColumn<QByteArray>("platform");
        QTest::newRow("GNOME on Wayland with Xwayland")
            << QStringList{"XDG_SESSION_TYPE=wayland", "WAYLAND_DISPLAY=wayland-0", "DISPLAY=:0",
                           "XDG_CURRENT_DESKTOP=ubuntu:GNOME"}
            << "a Wayland session of GNOME Shell" << false << QByteArray("xcb");
        QTest::newRow("Plasma on Wayland") << QStringList{"XDG_SESSION_TYPE=wayland", "WAYLAND_DISPLAY=wayland-0",
                                                          "DISPLAY=:1", "XDG_CURRENT_DESKTOP=KDE"}
                                           << "a Wayland session of KDE Plasma" << false << QByteArray("xcb");
        // A session-wide request for Wayland is overridden; any other choice of the user stands,
        // and without Xwayland there is nothing to choose.
        QTest::newRow("Wayland asked for every program")
            << QStringList{"XDG_SESSION_TYPE=wayland", "DISPLAY=:0", "QT_QPA_PLATFORM=wayland;xcb"}
            << "a Wayland session" << false << QByteArray("xcb");
        QTest::newRow("Wayland, the user chose offscreen")
            << QStringList{"XDG_SESSION_TYPE=wayland", "DISPLAY=:0", "QT_QPA_PLATFORM=offscreen"} << "a Wayland session"
            << false << QByteArray();
        QTest::newRow("Wayland without Xwayland")
            << QStringList{"WAYLAND_DISPLAY=wayland-0", "XDG_CURRENT_DESKTOP=sway"} << "a Wayland session of sway"
            << false << QByteArray();
        // The login manager's word wins over the displays a program inherited.
        QTest::newRow("X11 session with a stray Wayland display")
            << QStringList{"XDG_SESSION_TYPE=x11", "WAYLAND_DISPLAY=wayland-0", "DISPLAY=:0",
                           "XDG_CURRENT_DESKTOP=GNOME-Flashback:GNOME"}
            << "an X11 session of GNOME-Flashback" << true << QByteArray();
        QTest::newRow("X11 without a login manager") << QStringList{"DISPLAY=:99", "XDG_CURRENT_DESKTOP= XFCE "}
                                                     << "an X11 session of XFCE" << true << QByteArray();
        QTest::newRow("a tty session with a display")
            << QStringList{"XDG_SESSION_TYPE=tty", "DISPLAY=:5"} << "an X11 session" << true << QByteArray();
        QTest::newRow("nothing") << QStringList{} << "no graphical session" << true << QByteArray();
    }
    void detection() {
        QFETCH(QStringList, variables);
        QFETCH(QString, description);
        QFETCH(bool, pointerFollows);
        QFETCH(QByteArray, platform);
        const DesktopSession session = DesktopSession::detect(environment(variables));
        QCOMPARE(session.description(), description);
        QCOMPARE(session.pointerFollowsDockClicks(), pointerFollows);
        QCOMPARE(DesktopSession::forcedPlatform(environment(variables)), platform);
    }
};

QTEST_GUILESS_MAIN(DesktopSessionTest)
#include "DesktopSessionTest.moc"
