#include "HostDesktop.h"

#include <QColor>
#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTest>

#include <csignal>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

namespace {

// A test killed on its time-out must not leave an X server or a dock running.
void endWithParent(QProcess& process) {
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
}

} // namespace

HostDesktop::HostDesktop() = default;

HostDesktop::~HostDesktop() {
    shutDown();
    m_xserver.terminate();
    if (!m_xserver.waitForFinished(5000))
        m_xserver.kill();
    m_xserver.waitForFinished();
}

void HostDesktop::shutDown() {
    while (!m_processes.isEmpty())
        stop(m_processes.last());
    endProgramsOfHome();
    if (m_connection.isConnected()) {
        m_connection = QDBusConnection(QString{});
        QDBusConnection::disconnectFromBus(QStringLiteral("host-desktop"));
    }
    m_sessionBus.reset();
    m_systemBus.reset();
}

bool HostDesktop::startDisplay() {
    if (!m_home.isValid())
        return false;
    // The server picks a free display and writes its number to the descriptor named.
    endWithParent(m_xserver);
    m_xserver.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-screen", "0", "1280x800x24", "-nolisten", "tcp"});
    QDeadlineTimer deadline(15000);
    while (!m_xserver.canReadLine() && m_xserver.waitForReadyRead(int(deadline.remainingTime()))) {
    }
    const QString number = QString::fromUtf8(m_xserver.readLine()).trimmed();
    if (number.isEmpty())
        return false;
    m_display = u':' + number;
    qputenv("DISPLAY", m_display.toLocal8Bit());
    // The test's own Qt takes this display, not a Wayland session it may have been started from.
    qunsetenv("WAYLAND_DISPLAY");
    qputenv("QT_QPA_PLATFORM", "xcb");
    return true;
}

void HostDesktop::useWaylandSession(const QString& waylandDisplay, const QString& display, const QString& xauthority) {
    m_waylandDisplay = waylandDisplay;
    m_display = display;
    m_xauthority = xauthority;
    qputenv("DISPLAY", m_display.toLocal8Bit());
    qputenv("XAUTHORITY", m_xauthority.toLocal8Bit());
}

bool HostDesktop::startBuses() {
    for (const char* folder : {"share/applications", ".config", ".cache", "run"})
        if (!QDir().mkpath(path(QString::fromLatin1(folder))))
            return false;
    QFile::setPermissions(path("run"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    m_sessionBus = std::make_unique<PrivateBus>();
    m_systemBus = std::make_unique<PrivateBus>();
    // A session daemon stands in for the system bus: the shell only needs one to connect to.
    if (!m_sessionBus->start() || !m_systemBus->start())
        return false;
    m_connection = QDBusConnection::connectToBus(m_sessionBus->address(), QStringLiteral("host-desktop"));
    return m_connection.isConnected();
}

bool HostDesktop::startWindowManager() {
    start(QStringLiteral("openbox"), {"--sm-disable"});
    // The window manager is ready once it announces itself on the root window.
    return QTest::qWaitFor(
        [&] {
            QByteArray output;
            return run(QStringLiteral("xprop"), {"-root", "_NET_SUPPORTING_WM_CHECK"}, &output) &&
                   output.contains("window id");
        },
        10000);
}

bool HostDesktop::allowXwaylandSockets() {
    const char* const folder = "/tmp/.X11-unix";
    struct stat status {};
    if (::stat(folder, &status) != 0 && ::mkdir(folder, 01777) != 0)
        return false;
    if (::stat(folder, &status) == 0 && (status.st_mode & 01777) == 01777)
        return true;
    if (::chmod(folder, 01777) == 0)
        return true;
    qWarning("%s is not world-writable and sticky, and cannot be made so: the compositor will not start Xwayland",
             folder);
    return false;
}

QString HostDesktop::path(const QString& relative) const {
    return relative.isEmpty() ? m_home.path() : m_home.filePath(relative);
}

QProcessEnvironment HostDesktop::environment() const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name :
         {"WAYLAND_DISPLAY", "XDG_SESSION_DESKTOP", "DESKTOP_SESSION", "SESSION_MANAGER", "XDG_CONFIG_DIRS",
          "QT_QPA_PLATFORMTHEME", "DESKTOP_STARTUP_ID", "GIO_LAUNCHED_DESKTOP_FILE"})
        environment.remove(QString::fromLatin1(name));
    const QList<std::pair<const char*, QString>> values{
        {"DISPLAY", m_display},
        {"HOME", path()},
        {"XDG_DATA_HOME", dataHome()},
        {"XDG_CONFIG_HOME", path(".config")},
        {"XDG_CACHE_HOME", path(".cache")},
        {"XDG_RUNTIME_DIR", path("run")},
        {"XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share")},
        {"XDG_SESSION_TYPE", isWaylandSession() ? QStringLiteral("wayland") : QStringLiteral("x11")},
        {"DBUS_SESSION_BUS_ADDRESS", m_sessionBus ? m_sessionBus->address() : QString()},
        {"DBUS_SYSTEM_BUS_ADDRESS", m_systemBus ? m_systemBus->address() : QString()},
        // Settings in a file of the home: the dock, Trellin and the test read and write the same.
        {"GSETTINGS_BACKEND", QStringLiteral("keyfile")},
        {"QT_QPA_PLATFORM", QStringLiteral("xcb")},
        {"NO_AT_BRIDGE", QStringLiteral("1")},
        {"TRELLIN_FIXTURE_LOG", fixtureLog()},
    };
    for (const auto& [name, value] : values)
        environment.insert(QString::fromLatin1(name), value);
    if (isWaylandSession()) {
        environment.insert(QStringLiteral("WAYLAND_DISPLAY"), m_waylandDisplay);
        environment.insert(QStringLiteral("XAUTHORITY"), m_xauthority);
    }
    environment.insert(m_sessionVariables);
    // A Wayland session names no platform: Trellin itself must choose Xwayland there.
    if (environment.value(QStringLiteral("XDG_SESSION_TYPE")) == QLatin1String("wayland"))
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    return environment;
}

QProcess* HostDesktop::start(const QString& program, const QStringList& arguments, const QProcessEnvironment& extra) {
    return launch(program, arguments, extra, false);
}

QProcess* HostDesktop::startReading(const QString& program, const QStringList& arguments) {
    return launch(program, arguments, {}, true);
}

QProcess* HostDesktop::launch(const QString& program, const QStringList& arguments, const QProcessEnvironment& extra,
                              bool keepOutput) {
    auto* process = new QProcess;
    endWithParent(*process);
    QProcessEnvironment environment = this->environment();
    environment.insert(extra);
    process->setProcessEnvironment(environment);
    if (keepOutput) {
        process->setProcessChannelMode(QProcess::MergedChannels);
    } else {
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->setStandardOutputFile(QProcess::nullDevice());
    }
    process->start(program, arguments);
    m_processes.append(process);
    return process;
}

bool HostDesktop::run(const QString& program, const QStringList& arguments, QByteArray* output) const {
    QProcess process;
    process.setProcessEnvironment(environment());
    process.start(program, arguments);
    if (!process.waitForFinished(20000)) {
        process.kill();
        process.waitForFinished();
        return false;
    }
    if (output)
        *output = process.readAllStandardOutput();
    const QByteArray errors = process.readAllStandardError();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        qWarning("%s %s: %s", qPrintable(program), qPrintable(arguments.join(u' ')), errors.constData());
        return false;
    }
    return true;
}

void HostDesktop::stop(QProcess* process) {
    if (!m_processes.removeOne(process))
        return;
    process->terminate();
    if (!process->waitForFinished(5000)) {
        process->kill();
        process->waitForFinished();
    }
    delete process;
}

bool HostDesktop::waitForService(const QString& name, int milliseconds) {
    return QTest::qWaitFor([&] { return m_connection.interface()->isServiceRegistered(name).value(); }, milliseconds);
}

namespace {

// The processes that carry `home` as HOME in their environment, this one left out.
QList<pid_t> processesOfHome(const QString& home) {
    const QByteArray variable = QByteArray(1, '\0') + "HOME=" + home.toLocal8Bit() + '\0';
    const pid_t self = ::getpid();
    QList<pid_t> processes;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool isNumber = false;
        const pid_t pid = pid_t(entry.toInt(&isNumber));
        if (!isNumber || pid == self)
            continue;
        QFile environment(QStringLiteral("/proc/") + entry + QStringLiteral("/environ"));
        if (!environment.open(QIODevice::ReadOnly))
            continue;
        const QByteArray variables = QByteArray(1, '\0') + environment.readAll();
        if (variables.contains(variable))
            processes.append(pid);
    }
    return processes;
}

} // namespace

void HostDesktop::endProgramsOfHome() const {
    // Everything this desktop started carries its home in its environment, what the docks
    // launched included; they would hold the test's output open long after it ended.
    for (const pid_t pid : processesOfHome(path()))
        ::kill(pid, SIGKILL);
}

bool HostDesktop::isRunning(const QByteArray& text) const {
    for (const pid_t pid : processesOfHome(path())) {
        QFile commandLine(QStringLiteral("/proc/%1/cmdline").arg(pid));
        if (commandLine.open(QIODevice::ReadOnly) && commandLine.readAll().replace('\0', ' ').contains(text))
            return true;
    }
    return false;
}

QString HostDesktop::writeDesktopEntry(const QString& id, const QString& text) const {
    QSaveFile file(applicationsFolder() + u'/' + id);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit())
        return {};
    return file.fileName();
}

QString HostDesktop::writeProbeEntry(const QString& fixtureApp) const {
    const QString icon = writeIcon(QStringLiteral("pictures/probe.png"), probeColour);
    if (icon.isEmpty())
        return {};
    const QString entry = QStringLiteral("[Desktop Entry]\nType=Application\nName=Probe\nIcon=%1\nExec=%2 "
                                         "--entry=probe\nStartupNotify=false\n")
                              .arg(icon, fixtureApp);
    return writeDesktopEntry(probeEntryId, entry).isEmpty() ? QString() : icon;
}

QString HostDesktop::writeIcon(const QString& relative, const QColor& colour, int size) const {
    QImage icon(size, size, QImage::Format_ARGB32);
    icon.fill(colour);
    QDir().mkpath(QFileInfo(path(relative)).path());
    return icon.save(path(relative)) ? path(relative) : QString();
}

int pixelsNear(const QImage& image, const QRect& area, const QColor& colour) {
    int count = 0;
    const QRect inside = area & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (qAbs(pixel.red() - colour.red()) < 32 && qAbs(pixel.green() - colour.green()) < 40 &&
                qAbs(pixel.blue() - colour.blue()) < 32)
                ++count;
        }
    }
    return count;
}

QRect colourBounds(const QImage& image, const QRect& area, const QColor& colour) {
    QRect bounds;
    const QRect inside = area & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (pixelsNear(image, QRect(x, y, 1, 1), colour) > 0)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}
