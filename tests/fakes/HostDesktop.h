#pragma once

#include "PrivateBus.h"

#include <QColor>
#include <QDBusConnection>
#include <QImage>
#include <QList>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

#include <memory>

// A desktop of its own for a dock that users run, shared by the cases of one test: an X server
// (the dock may replace the window manager, so never the test session's), a session and a system
// bus, and a throw-away home whose settings live in a key file. The dock, Trellin and the programs
// the dock launches all see this one home, as they see one user's home on a real desktop.
class HostDesktop {
public:
    HostDesktop();
    ~HostDesktop();
    HostDesktop(const HostDesktop&) = delete;
    HostDesktop& operator=(const HostDesktop&) = delete;

    // Starts the X server on a free display and makes it this process's DISPLAY: call it before
    // the QGuiApplication is made, so the test's own screenshots and xdotool see the dock.
    bool startDisplay();
    // A Wayland session instead: the compositor the dock runs in serves X11 clients through the
    // X server it started (Xwayland). Programs of the desktop see both displays from now on, and
    // this process's xdotool sees that X server.
    void useWaylandSession(const QString& waylandDisplay, const QString& display, const QString& xauthority);
    bool isWaylandSession() const { return !m_waylandDisplay.isEmpty(); }
    // A variable every program of the desktop started from now on sees, as a session sets it.
    void setSessionVariable(const QString& name, const QString& value) { m_sessionVariables.insert(name, value); }
    // The buses and the home's folders; after the application is made.
    bool startBuses();
    // openbox, for docks that need a window manager beside them.
    bool startWindowManager();
    // A compositor starts Xwayland with its sockets in /tmp/.X11-unix, and mutter refuses a folder
    // that is not world-writable and sticky (as a container may leave it): makes it so.
    static bool allowXwaylandSockets();
    // Ends the programs and the buses while the application still runs; the X server ends with
    // this object.
    void shutDown();

    QString path(const QString& relative = {}) const;
    // $XDG_DATA_HOME, the home's "share" folder, as Trellin's tests lay out a home.
    QString dataHome() const { return path(QStringLiteral("share")); }
    QString applicationsFolder() const { return path(QStringLiteral("share/applications")); }
    // Where the fixture program records its launches.
    QString fixtureLog() const { return path(QStringLiteral("launches.log")); }
    QString display() const { return m_display; }
    QString waylandDisplay() const { return m_waylandDisplay; }
    QDBusConnection& bus() { return m_connection; }
    QProcessEnvironment environment() const;

    // Starts a program of the desktop; it is ended with the desktop, the last started first.
    QProcess* start(const QString& program, const QStringList& arguments = {}, const QProcessEnvironment& extra = {});
    // As start, with its output and errors kept for the test to read.
    QProcess* startReading(const QString& program, const QStringList& arguments = {});
    // Runs a program of the desktop to its end; true when it exited with status 0.
    bool run(const QString& program, const QStringList& arguments, QByteArray* output = nullptr) const;
    // Ends the program the desktop started (SIGTERM, then SIGKILL), and forgets it.
    void stop(QProcess* process);
    bool waitForService(const QString& name, int milliseconds = 20000);
    // Ends every process whose environment names this home as HOME (Trellin's helpers and the
    // programs a dock launched, which no QProcess of ours owns).
    void endProgramsOfHome() const;

    // Whether a process of this desktop runs whose command line holds `text`.
    bool isRunning(const QByteArray& text) const;

    // A desktop entry in the home's applications folder; returns its path.
    QString writeDesktopEntry(const QString& id, const QString& text) const;
    // A PNG picture of one colour; returns its path.
    QString writeIcon(const QString& relative, const QColor& colour, int size = 256) const;

    // The entry each dock's test checks its harness with, before Trellin comes in: a picture of
    // `probeColour`, and the fixture program `fixtureApp` recording "--entry=probe" when launched.
    static inline const QString probeEntryId = QStringLiteral("trellin-e2e-probe.desktop");
    static inline const QColor probeColour{255, 0, 255};
    // Its picture's path; empty when either file could not be written.
    QString writeProbeEntry(const QString& fixtureApp) const;

private:
    QProcess* launch(const QString& program, const QStringList& arguments, const QProcessEnvironment& extra,
                     bool keepOutput);

    QTemporaryDir m_home;
    QProcess m_xserver;
    QString m_display;
    QString m_xauthority;
    QString m_waylandDisplay;
    QProcessEnvironment m_sessionVariables;
    std::unique_ptr<PrivateBus> m_sessionBus;
    std::unique_ptr<PrivateBus> m_systemBus;
    QDBusConnection m_connection{QString()};
    QList<QProcess*> m_processes;
};

// Pixels within `area` of `image` that are close to `colour`.
int pixelsNear(const QImage& image, const QRect& area, const QColor& colour);
// The smallest rectangle around the pixels close to `colour` within `area`.
QRect colourBounds(const QImage& image, const QRect& area, const QColor& colour);
