#include "platform/linux/PlankDockHost.h"

#include "platform/DockHostIds.h"
#include "platform/linux/LauncherUris.h"
#include "platform/linux/PlankBus.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusServiceWatcher>
#include <QDir>
#include <QUrl>

namespace {

// Plank answers from its main loop; a dock that hangs must not hang the application for long.
constexpr int kCallTimeout = 3000;

// Gtk's GtkPositionType, which Plank speaks in.
std::optional<DockHost::Edge> edgeOf(int position) {
    switch (position) {
    case 0:
        return DockHost::Edge::Left;
    case 1:
        return DockHost::Edge::Right;
    case 2:
        return DockHost::Edge::Top;
    case 3:
        return DockHost::Edge::Bottom;
    default:
        return std::nullopt;
    }
}

std::optional<DockHost::Edge> edgeOfNick(const QString& nick) {
    static const QStringList nicks = {QStringLiteral("left"), QStringLiteral("right"), QStringLiteral("top"),
                                      QStringLiteral("bottom")};
    return edgeOf(int(nicks.indexOf(nick.toLower())));
}

} // namespace

PlankDockHost::PlankDockHost(QDBusConnection bus, QString entriesDirectory, std::unique_ptr<DesktopSettings> settings,
                             QObject* parent)
    : DockHost(parent)
    , m_bus(std::move(bus))
    , m_entriesDirectory(QDir::cleanPath(entriesDirectory))
    , m_settings(std::move(settings))
    , m_watcher(new QDBusServiceWatcher(PlankBus::service, m_bus, QDBusServiceWatcher::WatchForOwnerChange, this)) {
    connect(m_watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString& newOwner) { ownerChanged(newOwner); });
    // Named by service, so the subscription follows Plank across restarts.
    m_bus.connect(PlankBus::service, PlankBus::path, PlankBus::interface, QStringLiteral("Changed"), this,
                  SLOT(itemsChanged()));
    if (QDBusConnectionInterface* daemon = m_bus.interface())
        m_running = daemon->isServiceRegistered(PlankBus::service).value();
}

PlankDockHost::~PlankDockHost() = default;

QString PlankDockHost::id() const {
    return DockHostIds::plank;
}

QString PlankDockHost::displayName() const {
    return DockHostIds::displayName(DockHostIds::plank);
}

bool PlankDockHost::isRunning() const {
    return m_running;
}

void PlankDockHost::ownerChanged(const QString& newOwner) {
    m_running = !newOwner.isEmpty();
    Q_EMIT changed();
}

void PlankDockHost::itemsChanged() {
    Q_EMIT changed();
}

QString PlankDockHost::uriOf(const QString& entryId) const {
    if (!LauncherUris::isPlainName(entryId))
        return {};
    return QString::fromUtf8(QUrl::fromLocalFile(m_entriesDirectory + QLatin1Char('/') + entryId).toEncoded());
}

QString PlankDockHost::entryIdOf(const QString& uri) const {
    return LauncherUris::entryIdOfFileUri(uri, m_entriesDirectory);
}

std::optional<QString> PlankDockHost::why(const QString& entryId) const {
    if (uriOf(entryId).isEmpty())
        return QStringLiteral("\"%1\" is no launcher's file name").arg(entryId);
    if (!m_running)
        return QStringLiteral("Plank does not run");
    return std::nullopt;
}

std::optional<QStringList> PlankDockHost::persistentUris() const {
    if (!m_running)
        return std::nullopt;
    const QDBusMessage request = QDBusMessage::createMethodCall(PlankBus::service, PlankBus::path, PlankBus::interface,
                                                                QStringLiteral("GetPersistentApplications"));
    const QDBusReply<QStringList> reply = m_bus.call(request, QDBus::Block, kCallTimeout);
    if (!reply.isValid())
        return std::nullopt;
    return reply.value();
}

std::optional<QStringList> PlankDockHost::pinnedEntries() const {
    const std::optional<QStringList> uris = persistentUris();
    if (!uris)
        return std::nullopt;
    QStringList entries;
    for (const QString& uri : *uris)
        entries << entryIdOf(uri);
    return entries;
}

std::optional<QString> PlankDockHost::call(const QString& method, const QString& uri) const {
    QDBusMessage request =
        QDBusMessage::createMethodCall(PlankBus::service, PlankBus::path, PlankBus::interface, method);
    request << uri;
    const QDBusReply<bool> reply = m_bus.call(request, QDBus::Block, kCallTimeout);
    if (!reply.isValid())
        return QStringLiteral("Plank did not answer %1: %2").arg(method, reply.error().message());
    if (!reply.value())
        return QStringLiteral("Plank refused %1 %2").arg(method, uri);
    return std::nullopt;
}

std::optional<QString> PlankDockHost::pin(const QString& entryId) {
    if (const std::optional<QString> reason = why(entryId))
        return reason;
    const std::optional<QStringList> uris = persistentUris();
    if (!uris)
        return QStringLiteral("Plank's items cannot be read");
    const QString uri = uriOf(entryId);
    for (const QString& pinned : *uris) {
        if (entryIdOf(pinned) == entryId)
            return std::nullopt;
    }
    return call(QStringLiteral("Add"), uri);
}

std::optional<QString> PlankDockHost::unpin(const QString& entryId) {
    if (const std::optional<QString> reason = why(entryId))
        return reason;
    const std::optional<QStringList> uris = persistentUris();
    if (!uris)
        return QStringLiteral("Plank's items cannot be read");
    // Removed by the URI Plank lists, which may be spelled otherwise than ours.
    for (const QString& pinned : *uris) {
        if (entryIdOf(pinned) != entryId)
            continue;
        if (const std::optional<QString> failure = call(QStringLiteral("Remove"), pinned))
            return failure;
    }
    return std::nullopt;
}

std::optional<DockHost::Geometry> PlankDockHost::geometry() const {
    if (!m_running || !m_settings)
        return std::nullopt;
    if (!m_settingsOpened) {
        m_settingsOpened = true;
        m_dockSettings = m_settings->open(PlankBus::settingsSchema, PlankBus::settingsPath);
        if (m_dockSettings) {
            auto* self = const_cast<PlankDockHost*>(this);
            m_dockSettings->onChanged([self](const QString& key) {
                if (key == PlankBus::positionKey || key == PlankBus::iconSizeKey)
                    Q_EMIT self->changed();
            });
        }
    }
    if (!m_dockSettings)
        return std::nullopt;
    const std::optional<QVariant> position = m_dockSettings->value(PlankBus::positionKey);
    const std::optional<QVariant> size = m_dockSettings->value(PlankBus::iconSizeKey);
    if (!position || !size || size->toInt() <= 0)
        return std::nullopt;
    const std::optional<Edge> edge =
        position->typeId() == QMetaType::QString ? edgeOfNick(position->toString()) : edgeOf(position->toInt());
    if (!edge)
        return std::nullopt;
    return Geometry{*edge, size->toInt()};
}

std::optional<DockHost::TilePosition> PlankDockHost::tilePosition(const QString& entryId) const {
    if (why(entryId))
        return std::nullopt;
    const std::optional<QStringList> uris = persistentUris();
    if (!uris)
        return std::nullopt;
    for (const QString& uri : *uris) {
        if (entryIdOf(uri) != entryId)
            continue;
        QDBusMessage request = QDBusMessage::createMethodCall(PlankBus::service, PlankBus::path, PlankBus::interface,
                                                              QStringLiteral("GetHoverPosition"));
        request << uri;
        const QDBusMessage reply = m_bus.call(request, QDBus::Block, kCallTimeout);
        const QList<QVariant> answer = reply.arguments();
        // (x, y, edge, found): the answer comes after the point.
        if (reply.type() != QDBusMessage::ReplyMessage || answer.size() != 4 || !answer[3].toBool())
            return std::nullopt;
        const std::optional<Edge> edge = edgeOf(answer[2].toInt());
        if (!edge)
            return std::nullopt;
        return TilePosition{QPoint(answer[0].toInt(), answer[1].toInt()), *edge};
    }
    return std::nullopt;
}
