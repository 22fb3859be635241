#include "PlasmaHost.h"

#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingReply>
#include <QDBusUnixFileDescriptor>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QTest>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

const QString kShell = QStringLiteral("org.kde.plasmashell");
const QString kKWin = QStringLiteral("org.kde.KWin");
const QString kFakePointerEntry = QStringLiteral("trellin-fake-pointer.desktop");

// Every task manager of every panel, as JSON; `launchers` is the list the user's pins edit.
const char* const kTaskManagersScript = R"js(
var found = [];
panels().forEach(function (panel) {
  var screen = screenGeometry(panel.screen);
  panel.widgets().forEach(function (widget) {
    if (widget.type !== 'org.kde.plasma.icontasks' && widget.type !== 'org.kde.plasma.taskmanager')
      return;
    widget.currentConfigGroup = ['General'];
    var launchers = widget.readConfig('launchers', []);
    found.push({panel: panel.id, widget: widget.id, location: panel.location, thickness: panel.height,
                screen: {x: screen.x, y: screen.y, width: screen.width, height: screen.height},
                launchers: typeof launchers === 'string' ? launchers.split(',').filter(String) : launchers});
  });
});
print(JSON.stringify(found));
)js";

// Prepended to the pin and unpin scripts: the task managers, and the launcher in question.
const char* const kEditPrelude = R"js(
var managers = [];
panels().forEach(function (panel) {
  panel.widgets().forEach(function (widget) {
    if (widget.type === 'org.kde.plasma.icontasks' || widget.type === 'org.kde.plasma.taskmanager') {
      widget.currentConfigGroup = ['General'];
      managers.push(widget);
    }
  });
});
function launchersOf(widget) {
  var launchers = widget.readConfig('launchers', []);
  return typeof launchers === 'string' ? launchers.split(',').filter(String) : launchers.slice();
}
)js";

const char* const kPinScript = R"js(
if (managers.length === 0)
  throw new Error('no task manager');
if (!managers.some(function (widget) { return launchersOf(widget).indexOf(launcher) >= 0; }))
  managers[0].writeConfig('launchers', launchersOf(managers[0]).concat([launcher]));
print(JSON.stringify(launchersOf(managers[0]).indexOf(launcher) >= 0 || managers.length > 1));
)js";

const char* const kUnpinScript = R"js(
managers.forEach(function (widget) {
  var launchers = launchersOf(widget);
  if (launchers.indexOf(launcher) >= 0)
    widget.writeConfig('launchers', launchers.filter(function (item) { return item !== launcher; }));
});
print(JSON.stringify(managers.every(function (widget) { return launchersOf(widget).indexOf(launcher) < 0; })));
)js";

QString quoted(const QString& text) {
    return QString::fromUtf8(QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact)).mid(1).chopped(1);
}

PlasmaHost::Edge edgeOf(const QString& location) {
    if (location == QStringLiteral("top"))
        return PlasmaHost::Edge::Top;
    if (location == QStringLiteral("left"))
        return PlasmaHost::Edge::Left;
    if (location == QStringLiteral("right"))
        return PlasmaHost::Edge::Right;
    return PlasmaHost::Edge::Bottom;
}

QRect panelRect(PlasmaHost::Edge edge, const QRect& screen, int thickness) {
    switch (edge) {
    case PlasmaHost::Edge::Top:
        return {screen.left(), screen.top(), screen.width(), thickness};
    case PlasmaHost::Edge::Left:
        return {screen.left(), screen.top(), thickness, screen.height()};
    case PlasmaHost::Edge::Right:
        return {screen.right() + 1 - thickness, screen.top(), thickness, screen.height()};
    case PlasmaHost::Edge::Bottom:
        break;
    }
    return {screen.left(), screen.bottom() + 1 - thickness, screen.width(), thickness};
}

} // namespace

bool PlasmaHost::start() {
    if (!startCompositor())
        return false;
    // What a Plasma session tells every program started in it.
    m_desktop.setSessionVariable(QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("KDE"));
    m_desktop.setSessionVariable(QStringLiteral("KDE_FULL_SESSION"), QStringLiteral("true"));
    m_desktop.setSessionVariable(QStringLiteral("KDE_SESSION_VERSION"), QStringLiteral("5"));
    // The activity manager lives with the system's helper programs, not on the PATH.
    const QString activities = QStandardPaths::findExecutable(QStringLiteral("kactivitymanagerd"),
                                                              QString::fromLatin1(TRELLIN_LIBEXEC_DIRS).split(u':'));
    if (activities.isEmpty()) {
        qWarning("kactivitymanagerd is not installed: scripts/install-deps hosts installs it");
        return false;
    }
    m_desktop.start(activities);
    if (!m_desktop.waitForService(QStringLiteral("org.kde.ActivityManager"), 30000))
        return false;
    // The session's service daemon: among others it notices new desktop entries and tells the
    // shell, whose task manager otherwise keeps showing an entry written after it looked.
    m_desktop.start(QStringLiteral("kded5"));
    if (!m_desktop.waitForService(QStringLiteral("org.kde.kded5"), 30000))
        return false;
    // As the session starts it: no platform named, so it picks Wayland itself and the programs it
    // launches from its task manager inherit no choice of ours.
    m_desktop.start(QStringLiteral("env"), {"-u", "QT_QPA_PLATFORM", "plasmashell", "--no-respawn"});
    if (!m_desktop.waitForService(kShell, 60000))
        return false;
    // The shell lays out its default panel after it owns its name.
    return QTest::qWaitFor(
        [&] {
            const std::optional<QList<TaskManager>> managers = taskManagers();
            return managers && !managers->isEmpty();
        },
        60000);
}

bool PlasmaHost::startCompositor() {
    // KWin lets a program use its fake input when a desktop entry naming that program asks for it.
    if (m_desktop
            .writeDesktopEntry(kFakePointerEntry,
                               QStringLiteral("[Desktop Entry]\nType=Application\nName=Fake pointer\n"
                                              "Exec=" TRELLIN_FAKE_POINTER "\n"
                                              "X-KDE-Wayland-Interfaces=org_kde_kwin_fake_input\n"))
            .isEmpty())
        return false;
    // The packaged binary carries a file capability a container refuses to execute; a copy has none.
    const QString kwin = m_desktop.path(QStringLiteral("bin/kwin_wayland"));
    if (!QDir().mkpath(m_desktop.path(QStringLiteral("bin"))) ||
        !QFile::copy(QStringLiteral("/usr/bin/kwin_wayland"), kwin) ||
        !QFile::setPermissions(kwin, QFileDevice::ReadOwner | QFileDevice::ExeOwner))
        return false;
    // KWin starts the programs it is given once Xwayland runs, with both displays in their
    // environment: this one writes them down for the test.
    const QString displays = m_desktop.path(QStringLiteral("session-displays"));
    const QString reporter = m_desktop.path(QStringLiteral("bin/report-displays"));
    {
        QFile script(reporter);
        if (!script.open(QIODevice::WriteOnly) ||
            script.write("#!/bin/sh\nprintf '%s\\n%s\\n' \"$DISPLAY\" \"$XAUTHORITY\" > \"$0.tmp\" && mv \"$0.tmp\" " +
                         displays.toLocal8Bit() + "\n") < 0)
            return false;
    }
    QFile::setPermissions(reporter, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QString socket = QStringLiteral("wayland-trellin");
    QProcessEnvironment compositor;
    compositor.insert(QStringLiteral("KWIN_SCREENSHOT_NO_PERMISSION_CHECKS"), QStringLiteral("1"));
    compositor.insert(QStringLiteral("XDG_SESSION_TYPE"), QStringLiteral("wayland"));
    compositor.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("KDE"));
    // KWin is the X11 clients' server here, not a client of the test session's, and runs on its
    // own platform.
    m_desktop.start(QStringLiteral("env"),
                    {"-u", "DISPLAY", "-u", "QT_QPA_PLATFORM", kwin, "--virtual", "--width", "1280", "--height", "800",
                     "--xwayland", "--no-lockscreen", "--no-global-shortcuts", "--socket", socket, reporter},
                    compositor);
    if (!QTest::qWaitFor([&] { return QFile::exists(displays); }, 60000))
        return false;
    QFile file(displays);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QStringList lines = QString::fromLocal8Bit(file.readAll()).split(u'\n');
    if (lines.size() < 2 || lines.at(0).isEmpty())
        return false;
    m_desktop.useWaylandSession(socket, lines.at(0), lines.at(1));
    return m_desktop.waitForService(kKWin, 30000);
}

std::optional<QJsonValue> PlasmaHost::evaluate(const QString& script) const {
    QDBusMessage call =
        QDBusMessage::createMethodCall(kShell, QStringLiteral("/PlasmaShell"), QStringLiteral("org.kde.PlasmaShell"),
                                       QStringLiteral("evaluateScript"));
    call.setArguments({script});
    const QDBusMessage reply = m_desktop.bus().call(call, QDBus::Block, 20000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return std::nullopt;
    // The shell answers with all the script printed; the value is its last line.
    const QStringList lines = reply.arguments().at(0).toString().split(u'\n', Qt::SkipEmptyParts);
    if (lines.isEmpty())
        return std::nullopt;
    const QJsonDocument document = QJsonDocument::fromJson("[" + lines.last().toUtf8() + "]");
    if (!document.isArray() || document.array().isEmpty())
        return std::nullopt;
    return document.array().at(0);
}

std::optional<QList<PlasmaHost::TaskManager>> PlasmaHost::taskManagers() const {
    const std::optional<QJsonValue> value = evaluate(QString::fromLatin1(kTaskManagersScript));
    if (!value || !value->isArray())
        return std::nullopt;
    QList<TaskManager> managers;
    for (const QJsonValue& entry : value->toArray()) {
        const QJsonObject object = entry.toObject();
        const QJsonObject screen = object.value("screen").toObject();
        TaskManager manager;
        manager.panel = object.value("panel").toInt();
        manager.widget = object.value("widget").toInt();
        for (const QJsonValue& launcher : object.value("launchers").toArray())
            manager.launchers << launcher.toString();
        manager.edge = edgeOf(object.value("location").toString());
        manager.panelRect = panelRect(manager.edge,
                                      QRect(screen.value("x").toInt(), screen.value("y").toInt(),
                                            screen.value("width").toInt(), screen.value("height").toInt()),
                                      object.value("thickness").toInt());
        managers << manager;
    }
    return managers;
}

std::optional<QStringList> PlasmaHost::launchers() const {
    const std::optional<QList<TaskManager>> managers = taskManagers();
    if (!managers)
        return std::nullopt;
    QStringList all;
    for (const TaskManager& manager : *managers)
        all << manager.launchers;
    return all;
}

bool PlasmaHost::isPinned(const QString& entryId) const {
    // A task manager names an entry by its id, or by its file when it was dropped there as one.
    for (const QString& pinned : launchers().value_or(QStringList()))
        if (pinned == launcher(entryId) ||
            (pinned.startsWith(QStringLiteral("file://")) && pinned.endsWith(u'/' + entryId)))
            return true;
    return false;
}

bool PlasmaHost::pin(const QString& entryId) {
    return evaluate("var launcher = " + quoted(launcher(entryId)) + ";" + QString::fromLatin1(kEditPrelude) +
                    QString::fromLatin1(kPinScript)) == QJsonValue(true) &&
           isPinned(entryId);
}

bool PlasmaHost::unpin(const QString& entryId) {
    return evaluate("var launcher = " + quoted(launcher(entryId)) + ";" + QString::fromLatin1(kEditPrelude) +
                    QString::fromLatin1(kUnpinScript)) == QJsonValue(true);
}

QImage PlasmaHost::screenshot(const QString& path) const {
    // KWin writes the picture's raw pixels into a pipe and tells their layout in its answer.
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return {};
    QDBusPendingCall pending = [&] {
        QDBusMessage call = QDBusMessage::createMethodCall(kKWin, QStringLiteral("/org/kde/KWin/ScreenShot2"),
                                                           QStringLiteral("org.kde.KWin.ScreenShot2"),
                                                           QStringLiteral("CaptureActiveScreen"));
        call.setArguments({QVariantMap{{"include-cursor", false}, {"native-resolution", true}},
                           QVariant::fromValue(QDBusUnixFileDescriptor(ends[1]))});
        return m_desktop.bus().asyncCall(call, 20000);
    }();
    ::close(ends[1]);
    // The pending call keeps its own copy of the pipe's writing end, so the pipe never ends: the
    // picture is whole once it holds as many bytes as the answer tells.
    QByteArray data;
    char buffer[65536];
    pollfd readable{ends[0], POLLIN, 0};
    qsizetype expected = -1;
    QVariantMap layout;
    const QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired() && (expected < 0 || data.size() < expected)) {
        if (::poll(&readable, 1, 100) > 0) {
            const ssize_t count = ::read(ends[0], buffer, sizeof buffer);
            if (count <= 0)
                break;
            data.append(buffer, count);
        }
        if (expected < 0 && pending.isFinished()) {
            const QDBusPendingReply<QVariantMap> reply = pending;
            if (reply.isError()) {
                qWarning("KWin took no screenshot: %s", qPrintable(reply.error().message()));
                break;
            }
            layout = reply.value();
            expected = qsizetype(layout.value("stride").toInt()) * layout.value("height").toInt();
        }
    }
    ::close(ends[0]);
    const int width = layout.value("width").toInt();
    const int height = layout.value("height").toInt();
    const int stride = layout.value("stride").toInt();
    const auto format = QImage::Format(layout.value("format").toInt());
    if (width <= 0 || height <= 0 || expected <= 0 || data.size() < expected)
        return {};
    const QImage image = QImage(reinterpret_cast<const uchar*>(data.constData()), width, height, stride, format)
                             .convertToFormat(QImage::Format_RGB32);
    image.save(path);
    return image;
}

bool PlasmaHost::movePointer(QPoint point) const {
    return m_desktop.run(QStringLiteral(TRELLIN_FAKE_POINTER),
                         {"move", QString::number(point.x()), QString::number(point.y())});
}

bool PlasmaHost::click(QPoint point) const {
    return m_desktop.run(QStringLiteral(TRELLIN_FAKE_POINTER),
                         {"click", QString::number(point.x()), QString::number(point.y())});
}
