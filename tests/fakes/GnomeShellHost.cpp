#include "GnomeShellHost.h"

#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

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
    m_desktop.start(QStringLiteral("gnome-shell"), {"--x11", "--replace"}, [] {
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
    return eval(QStringLiteral("Main.overview.hide(); true")).has_value() &&
           QTest::qWaitFor([&] { return eval(QStringLiteral("Main.overview.visible")) == QJsonValue(false); }, 10000);
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

bool GnomeShellHost::setDockSetting(const QString& key, const QString& value) {
    return m_desktop.run(QStringLiteral("gsettings"), {"set", kDockSchema, key, value});
}

bool GnomeShellHost::click(const QString& entryId) const {
    const std::optional<DashIcon> icon = dashIcon(entryId);
    if (!icon)
        return false;
    const QPoint centre = icon->rect.center();
    return m_desktop.run(QStringLiteral("xdotool"),
                         {"mousemove", QString::number(centre.x()), QString::number(centre.y()), "click", "1"});
}
