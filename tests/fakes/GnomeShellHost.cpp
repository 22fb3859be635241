#include "GnomeShellHost.h"

#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <algorithm>

namespace {

const QString kShell = QStringLiteral("org.gnome.Shell");
const QString kDashToDock = QStringLiteral("dash-to-dock@micxgx.gmail.com");
const QString kUnsafeMode = QStringLiteral("trellin-test-unsafe-mode@trellin.app");
const QString kDockSchema = QStringLiteral("org.gnome.shell.extensions.dash-to-dock");

// Every app icon on the stage that is shown now, with its place and its entry's icon.
const char* const kDashIconsScript = R"js((() => {
  const icons = [];
  const walk = actor => {
    if (actor.app && typeof actor.app.get_id === 'function' && actor.is_mapped()) {
      const [x, y] = actor.get_transformed_position();
      const [width, height] = actor.get_transformed_size();
      const info = actor.app.get_app_info();
      const icon = info && info.get_icon();
      icons.push({id: actor.app.get_id(), x, y, width, height, icon: icon ? icon.to_string() : ''});
    }
    for (const child of actor.get_children())
      walk(child);
  };
  walk(global.stage);
  return icons;
})())js";

// The windows the shell shows, with their places as it manages them (xdotool on Xwayland does not
// see where the compositor put a window).
const char* const kWindowsScript = R"js(global.get_window_actors()
  .map(actor => actor.meta_window)
  .filter(window => window && !window.is_hidden() && window.showing_on_its_workspace())
  .map(window => {
    const frame = window.frame_rect_to_client_rect(window.get_frame_rect());
    return {title: window.get_title() ?? '', wmClass: window.get_wm_class() ?? '',
            x: frame.x, y: frame.y, width: frame.width, height: frame.height,
            x11: window.get_client_type() === imports.gi.Meta.WindowClientType.X11};
  }))js";

// One pointer device of the shell's own seat, made once and kept in the shell's global scope.
const char* const kPointerScript = R"js((() => {
  const Clutter = imports.gi.Clutter;
  if (!globalThis.trellinTestPointer)
    globalThis.trellinTestPointer = Clutter.get_default_backend().get_default_seat()
      .create_virtual_device(Clutter.InputDeviceType.POINTER_DEVICE);
  return globalThis.trellinTestPointer;
})())js";

QString quoted(const QString& text) {
    return QString::fromUtf8(QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact)).mid(1).chopped(1);
}

} // namespace

bool GnomeShellHost::start() {
    const QString extension = m_desktop.dataHome() + QStringLiteral("/gnome-shell/extensions/") + kUnsafeMode;
    if (!QDir().mkpath(extension))
        return false;
    for (const char* file : {"metadata.json", "extension.js"})
        if (!QFile::copy(QStringLiteral(TRELLIN_SHELL_EXTENSION_DIR "/") + QString::fromLatin1(file),
                         extension + u'/' + QString::fromLatin1(file)))
            return false;
    const QList<QStringList> settings{
        {"org.gnome.shell", "enabled-extensions", "['" + kDashToDock + "', '" + kUnsafeMode + "']"},
        {"org.gnome.shell", "welcome-dialog-last-shown-version", "'99'"},
        {"org.gnome.shell", "favorite-apps", "@as []"},
        // Still pictures: a screenshot shows the state, not a frame of a transition.
        {"org.gnome.desktop.interface", "enable-animations", "false"},
        {"org.gnome.desktop.notifications", "show-banners", "false"},
        // A pointer passing the top left corner must not open the overview over the desktop.
        {"org.gnome.desktop.interface", "enable-hot-corners", "false"},
        {kDockSchema, "dock-fixed", "true"},
        {kDockSchema, "disable-overview-on-startup", "true"},
        {kDockSchema, "show-trash", "false"},
        {kDockSchema, "show-mounts", "false"},
    };
    for (const QStringList& setting : settings)
        if (!m_desktop.run(QStringLiteral("gsettings"), QStringList{"set"} + setting))
            return false;
    const bool wayland = m_session == Session::Wayland;
    if (wayland) {
        if (!HostDesktop::allowXwaylandSockets())
            return false;
        // As a GNOME login on Wayland sets them for everything it starts.
        m_desktop.setSessionVariable(QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("GNOME"));
        m_desktop.setSessionVariable(QStringLiteral("XDG_SESSION_TYPE"), QStringLiteral("wayland"));
    }
    m_desktop.start(QStringLiteral("gnome-shell"),
                    wayland ? QStringList{"--headless", "--wayland", "--virtual-monitor", "1280x800"}
                            : QStringList{"--x11", "--replace"},
                    [] {
                        QProcessEnvironment environment;
                        environment.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("GNOME"));
                        return environment;
                    }());
    if (!m_desktop.waitForService(kShell, 60000))
        return false;
    // Eval answers once the test extension has run; the dock stands once its extension is on.
    const auto ready = [&] {
        const std::optional<QJsonValue> state =
            eval("!Main.layoutManager._startingUp && Main.extensionManager.lookup('" + kDashToDock + "')?.state");
        return state && state->toInt() == 1;
    };
    if (!QTest::qWaitFor(ready, 60000))
        return false;
    if (wayland && !startXwaylandDisplays())
        return false;
    return eval(QStringLiteral("Main.overview.hide(); true")).has_value() &&
           QTest::qWaitFor([&] { return eval(QStringLiteral("Main.overview.visible")) == QJsonValue(false); }, 10000);
}

bool GnomeShellHost::startXwaylandDisplays() {
    // Mutter sets its displays in its own environment, which the programs it launches inherit.
    const std::optional<QJsonValue> displays = eval(
        QStringLiteral("['WAYLAND_DISPLAY', 'DISPLAY', 'XAUTHORITY'].map(name => imports.gi.GLib.getenv(name) ?? '')"));
    if (!displays || displays->toArray().size() != 3)
        return false;
    const QJsonArray names = displays->toArray();
    if (names.at(0).toString().isEmpty() || names.at(1).toString().isEmpty())
        return false;
    m_desktop.useWaylandSession(names.at(0).toString(), names.at(1).toString(), names.at(2).toString());
    // Xwayland may still be starting: Trellin's first window must find it.
    return QTest::qWaitFor([&] { return m_desktop.run(QStringLiteral("xprop"), {"-root", "_NET_SUPPORTED"}); }, 30000);
}

std::optional<QJsonValue> GnomeShellHost::eval(const QString& script) const {
    QDBusMessage call =
        QDBusMessage::createMethodCall(kShell, QStringLiteral("/org/gnome/Shell"), kShell, QStringLiteral("Eval"));
    call.setArguments({script});
    const QDBusMessage reply = m_desktop.bus().call(call, QDBus::Block, 10000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 2 ||
        !reply.arguments().at(0).toBool())
        return std::nullopt;
    // The shell answers with the value as JSON, or nothing for undefined.
    const QByteArray text = reply.arguments().at(1).toString().toUtf8();
    if (text.isEmpty())
        return QJsonValue(QJsonValue::Undefined);
    const QJsonDocument document = QJsonDocument::fromJson("[" + text + "]");
    if (!document.isArray())
        return std::nullopt;
    return document.array().at(0);
}

QList<GnomeShellHost::DashIcon> GnomeShellHost::dashIcons() const {
    QList<DashIcon> icons;
    const std::optional<QJsonValue> value = eval(QString::fromLatin1(kDashIconsScript));
    if (!value)
        return icons;
    for (const QJsonValue& entry : value->toArray()) {
        const QJsonObject icon = entry.toObject();
        icons.append({icon.value("id").toString(),
                      QRect(qRound(icon.value("x").toDouble()), qRound(icon.value("y").toDouble()),
                            qRound(icon.value("width").toDouble()), qRound(icon.value("height").toDouble())),
                      icon.value("icon").toString()});
    }
    return icons;
}

std::optional<GnomeShellHost::DashIcon> GnomeShellHost::dashIcon(const QString& entryId) const {
    for (const DashIcon& icon : dashIcons())
        if (icon.id == entryId)
            return icon;
    return std::nullopt;
}

QImage GnomeShellHost::screenshot(const QString& path) const {
    QDBusMessage call =
        QDBusMessage::createMethodCall(kShell, QStringLiteral("/org/gnome/Shell/Screenshot"),
                                       QStringLiteral("org.gnome.Shell.Screenshot"), QStringLiteral("Screenshot"));
    call.setArguments({false, false, path});
    const QDBusMessage reply = m_desktop.bus().call(call, QDBus::Block, 20000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty() || !reply.arguments().at(0).toBool())
        return {};
    return QImage(path);
}

std::optional<QStringList> GnomeShellHost::favourites() const {
    const std::optional<QJsonValue> value = eval(QStringLiteral("global.settings.get_strv('favorite-apps')"));
    if (!value || !value->isArray())
        return std::nullopt;
    QStringList ids;
    for (const QJsonValue& id : value->toArray())
        ids << id.toString();
    return ids;
}

bool GnomeShellHost::pin(const QString& entryId) {
    // addFavorite tells nothing back: ask whether the entry is a favourite now.
    return eval("(favourites => { favourites.addFavorite(" + quoted(entryId) + "); return favourites.isFavorite(" +
                quoted(entryId) + "); })(imports.ui.appFavorites.getAppFavorites())") == QJsonValue(true);
}

bool GnomeShellHost::unpin(const QString& entryId) {
    return eval("(favourites => { favourites.removeFavorite(" + quoted(entryId) + "); return !favourites.isFavorite(" +
                quoted(entryId) + "); })(imports.ui.appFavorites.getAppFavorites())") == QJsonValue(true);
}

bool GnomeShellHost::enableExtension(const QString& uuid) {
    const std::optional<QJsonValue> enabled = eval(QStringLiteral("global.settings.get_strv('enabled-extensions')"));
    if (!enabled || !enabled->isArray())
        return false;
    QStringList uuids;
    for (const QJsonValue& known : enabled->toArray())
        uuids << quoted(known.toString());
    uuids << quoted(uuid);
    if (!m_desktop.run(QStringLiteral("gsettings"),
                       {"set", "org.gnome.shell", "enabled-extensions", u'[' + uuids.join(u',') + u']'}))
        return false;
    // 1: ExtensionState.ENABLED.
    return QTest::qWaitFor(
        [&] { return eval("Main.extensionManager.lookup(" + quoted(uuid) + ")?.state") == QJsonValue(1); }, 10000);
}

bool GnomeShellHost::setDockSetting(const QString& key, const QString& value) {
    return m_desktop.run(QStringLiteral("gsettings"), {"set", kDockSchema, key, value});
}

bool GnomeShellHost::click(const QString& entryId) const {
    const std::optional<DashIcon> icon = dashIcon(entryId);
    return icon && clickAt(icon->rect.center());
}

bool GnomeShellHost::pointerTo(QPoint point) const {
    const QString script = QStringLiteral("%1.notify_absolute_motion(imports.gi.Clutter.CURRENT_TIME, %2, %3); true")
                               .arg(QString::fromLatin1(kPointerScript))
                               .arg(point.x())
                               .arg(point.y());
    if (eval(script) != QJsonValue(true))
        return false;
    // The seat takes the motion in a thread of its own: the press must come where the pointer is.
    return QTest::qWaitFor(
        [&] {
            const std::optional<QJsonValue> at = eval(QStringLiteral("global.get_pointer().slice(0, 2)"));
            return at && at->toArray() == QJsonArray{point.x(), point.y()};
        },
        5000);
}

bool GnomeShellHost::moveTo(QPoint point) const {
    if (m_session == Session::X11)
        return m_desktop.run(QStringLiteral("xdotool"),
                             {"mousemove", QString::number(point.x()), QString::number(point.y())});
    return pointerTo(point);
}

bool GnomeShellHost::clickAt(QPoint point) const {
    if (m_session == Session::X11)
        return m_desktop.run(QStringLiteral("xdotool"),
                             {"mousemove", QString::number(point.x()), QString::number(point.y()), "click", "1"});
    // Over an X window, the press must reach Xwayland after the motion, or the client takes it where
    // the pointer was before. Xwayland keeps the last place it saw while the pointer is over the
    // shell, so the pointer first stops beside the point, where Xwayland cannot have seen it yet.
    const QList<Window> shown = windows();
    const auto over =
        std::find_if(shown.rbegin(), shown.rend(), [&](const Window& window) { return window.rect.contains(point); });
    const bool overX = over != shown.rend() && over->isX11;
    const auto xwaylandSees = [&](QPoint at) {
        const QByteArray expected = QStringLiteral("x:%1 y:%2 ").arg(at.x()).arg(at.y()).toLatin1();
        return QTest::qWaitFor(
            [&] {
                QByteArray location;
                return m_desktop.run(QStringLiteral("xdotool"), {"getmouselocation"}, &location) &&
                       location.startsWith(expected);
            },
            5000);
    };
    if (overX) {
        const QPoint beside = point + QPoint(point.x() > over->rect.left() ? -1 : 1, 0);
        if (!pointerTo(beside) || !xwaylandSees(beside))
            return false;
    }
    if (!pointerTo(point) || (overX && !xwaylandSees(point)))
        return false;
    const QString button =
        QStringLiteral("%1.notify_button(imports.gi.Clutter.CURRENT_TIME, imports.gi.Clutter.BUTTON_PRIMARY, "
                       "imports.gi.Clutter.ButtonState.%2); true")
            .arg(QString::fromLatin1(kPointerScript));
    return eval(button.arg(QStringLiteral("PRESSED"))) == QJsonValue(true) &&
           eval(button.arg(QStringLiteral("RELEASED"))) == QJsonValue(true);
}

QList<GnomeShellHost::Window> GnomeShellHost::windows() const {
    QList<Window> windows;
    const std::optional<QJsonValue> value = eval(QString::fromLatin1(kWindowsScript));
    if (!value)
        return windows;
    for (const QJsonValue& entry : value->toArray()) {
        const QJsonObject window = entry.toObject();
        windows.append({window.value("title").toString(), window.value("wmClass").toString(),
                        QRect(window.value("x").toInt(), window.value("y").toInt(), window.value("width").toInt(),
                              window.value("height").toInt()),
                        window.value("x11").toBool()});
    }
    return windows;
}

std::optional<GnomeShellHost::Window> GnomeShellHost::windowTitled(const QString& title) const {
    for (const Window& window : windows())
        if (window.title == title)
            return window;
    return std::nullopt;
}

QRect GnomeShellHost::workArea() const {
    const std::optional<QJsonValue> value =
        eval(QStringLiteral("(area => [area.x, area.y, area.width, area.height])"
                            "(Main.layoutManager.getWorkAreaForMonitor(Main.layoutManager.primaryIndex))"));
    if (!value || value->toArray().size() != 4)
        return {};
    const QJsonArray area = value->toArray();
    return {area.at(0).toInt(), area.at(1).toInt(), area.at(2).toInt(), area.at(3).toInt()};
}
