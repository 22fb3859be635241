#include "platform/linux/GnomeShellDockHost.h"

#include "platform/DockHostIds.h"
#include "platform/linux/GnomeShellNames.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QRect>

namespace {

// Trellin's extension is asked on every click on a folder's icon, before the popup opens: a shell
// too busy to answer at once leaves the popup where it would open without the extension.
constexpr int kExtensionTimeout = 250;

std::optional<DockHost::Edge> edgeOf(const QString& position) {
    if (position == QLatin1String("BOTTOM"))
        return DockHost::Edge::Bottom;
    if (position == QLatin1String("LEFT"))
        return DockHost::Edge::Left;
    if (position == QLatin1String("RIGHT"))
        return DockHost::Edge::Right;
    if (position == QLatin1String("TOP"))
        return DockHost::Edge::Top;
    return std::nullopt;
}

} // namespace

GnomeShellDockHost::GnomeShellDockHost(QDBusConnection bus, std::unique_ptr<DesktopSettings> settings,
                                       QString currentDesktop, QObject* parent)
    : DockHost(parent)
    , m_bus(bus)
    , m_settings(std::move(settings))
    , m_ubuntuSession(currentDesktop.split(QLatin1Char(':')).contains(QLatin1String("ubuntu"), Qt::CaseInsensitive))
    , m_watcher(
          new QDBusServiceWatcher(GnomeShellNames::service, bus, QDBusServiceWatcher::WatchForOwnerChange, this)) {
    connect(m_watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString& newOwner) {
                m_running = !newOwner.isEmpty();
                Q_EMIT changed();
            });
    if (QDBusConnectionInterface* daemon = bus.interface())
        m_running = daemon->isServiceRegistered(GnomeShellNames::service).value();
    if (m_settings) {
        m_shell = m_settings->open(GnomeShellNames::shellSchema);
        m_dashToDock = m_settings->open(GnomeShellNames::dashToDockSchema);
    }
    if (m_shell) {
        m_shell->onChanged([this](const QString& key) {
            if (key == GnomeShellNames::favoritesKey || key == GnomeShellNames::enabledExtensionsKey ||
                key == GnomeShellNames::disabledExtensionsKey || key == GnomeShellNames::userExtensionsOffKey)
                Q_EMIT changed();
        });
    }
    if (m_dashToDock) {
        m_dashToDock->onChanged([this](const QString& key) {
            if (key == GnomeShellNames::dockPositionKey || key == GnomeShellNames::iconSizeKey)
                Q_EMIT changed();
        });
    }
}

GnomeShellDockHost::~GnomeShellDockHost() = default;

QString GnomeShellDockHost::id() const {
    return DockHostIds::gnomeShell;
}

QString GnomeShellDockHost::displayName() const {
    const QString shell = DockHostIds::displayName(DockHostIds::gnomeShell);
    return m_dashToDock && dashToDockEnabled() ? shell + QStringLiteral(" with dash-to-dock") : shell;
}

bool GnomeShellDockHost::isRunning() const {
    return m_running;
}

std::optional<QStringList> GnomeShellDockHost::favorites() const {
    if (!m_shell)
        return std::nullopt;
    const std::optional<QVariant> value = m_shell->value(GnomeShellNames::favoritesKey);
    if (!value || value->typeId() != QMetaType::QStringList)
        return std::nullopt;
    return value->toStringList();
}

std::optional<QString> GnomeShellDockHost::writeFavorites(const QStringList& favorites) {
    return m_shell->setStringList(GnomeShellNames::favoritesKey, favorites);
}

std::optional<QStringList> GnomeShellDockHost::pinnedEntries() const {
    return m_running ? favorites() : std::nullopt;
}

std::optional<QString> GnomeShellDockHost::pin(const QString& entryId) {
    if (entryId.isEmpty() || entryId.contains(QLatin1Char('/')))
        return QStringLiteral("\"%1\" is no desktop entry id").arg(entryId);
    std::optional<QStringList> pins = favorites();
    if (!pins)
        return QStringLiteral("GNOME Shell's favourites cannot be read (is the schema %1 installed?)")
            .arg(GnomeShellNames::shellSchema);
    if (pins->contains(entryId))
        return std::nullopt;
    pins->append(entryId);
    return writeFavorites(*pins);
}

std::optional<QString> GnomeShellDockHost::unpin(const QString& entryId) {
    std::optional<QStringList> pins = favorites();
    if (!pins)
        return QStringLiteral("GNOME Shell's favourites cannot be read (is the schema %1 installed?)")
            .arg(GnomeShellNames::shellSchema);
    if (pins->removeAll(entryId) == 0)
        return std::nullopt;
    return writeFavorites(*pins);
}

bool GnomeShellDockHost::dashToDockEnabled() const {
    if (!m_shell)
        return false;
    const QStringList enabled =
        m_shell->value(GnomeShellNames::enabledExtensionsKey).value_or(QVariant()).toStringList();
    const QStringList disabled =
        m_shell->value(GnomeShellNames::disabledExtensionsKey).value_or(QVariant()).toStringList();
    // Ubuntu's session runs Ubuntu Dock as part of the desktop: only the list of disabled
    // extensions turns it off, not the switch for the user's own.
    if (m_ubuntuSession && !disabled.contains(GnomeShellNames::ubuntuDockExtension))
        return true;
    if (m_shell->value(GnomeShellNames::userExtensionsOffKey).value_or(QVariant(false)).toBool())
        return false;
    for (const QString& uuid : {GnomeShellNames::dashToDockExtension, GnomeShellNames::ubuntuDockExtension}) {
        if (enabled.contains(uuid) && !disabled.contains(uuid))
            return true;
    }
    return false;
}

std::optional<QList<QVariant>> GnomeShellDockHost::askExtension(const QString& method, const QVariantList& arguments,
                                                                const QString& signature) const {
    QDBusMessage request = QDBusMessage::createMethodCall(GnomeShellNames::service, GnomeShellNames::tilesPath,
                                                          GnomeShellNames::tilesInterface, method);
    request.setArguments(arguments);
    const QDBusMessage reply = m_bus.call(request, QDBus::Block, kExtensionTimeout);
    // Without the extension the shell answers with an error at once; an answer of another shape
    // (another version's) counts as none. The first answer says whether the rest means anything.
    if (reply.type() != QDBusMessage::ReplyMessage || reply.signature() != signature ||
        !reply.arguments().constFirst().toBool())
        return std::nullopt;
    return reply.arguments();
}

std::optional<DockHost::Geometry> GnomeShellDockHost::geometry() const {
    if (!m_running)
        return std::nullopt;
    if (!m_dashToDock || !dashToDockEnabled()) {
        // The plain dash: only Trellin's extension knows it is there and how big its icons are.
        const std::optional<QList<QVariant>> dock = askExtension(GnomeShellNames::getDockMethod, {}, "bsi");
        if (!dock)
            return std::nullopt;
        const std::optional<Edge> edge = edgeOf(dock->at(1).toString());
        const int size = dock->at(2).toInt();
        if (!edge || size <= 0)
            return std::nullopt;
        return Geometry{*edge, size};
    }
    const std::optional<Edge> edge =
        edgeOf(m_dashToDock->value(GnomeShellNames::dockPositionKey).value_or(QVariant()).toString());
    const int size = m_dashToDock->value(GnomeShellNames::iconSizeKey).value_or(QVariant()).toInt();
    if (!edge || size <= 0)
        return std::nullopt;
    return Geometry{*edge, size};
}

std::optional<DockHost::TilePosition> GnomeShellDockHost::tilePosition(const QString& entryId) const {
    if (!m_running || entryId.isEmpty() || entryId.contains(QLatin1Char('/')))
        return std::nullopt;
    const std::optional<QList<QVariant>> tile = askExtension(GnomeShellNames::getTileMethod, {entryId}, "biiiis");
    if (!tile)
        return std::nullopt;
    const QRect rect(tile->at(1).toInt(), tile->at(2).toInt(), tile->at(3).toInt(), tile->at(4).toInt());
    const std::optional<Edge> edge = edgeOf(tile->at(5).toString());
    if (!edge || rect.isEmpty())
        return std::nullopt;
    // The icon's middle, where a click on it would be.
    return TilePosition{rect.center(), *edge};
}
