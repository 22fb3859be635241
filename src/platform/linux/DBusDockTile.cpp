#include "DBusDockTile.h"

#include "platform/Protocol.h"

#include "platform/PngEncoder.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>

DBusDockTile::DBusDockTile(QString bundlePath, const QDBusConnection& bus)
    : m_bundlePath(std::move(bundlePath))
    , m_bus(bus)
    , m_dockWatcher(
          new QDBusServiceWatcher(Protocol::Bus::dockService, m_bus, QDBusServiceWatcher::WatchForRegistration, this)) {
    connect(m_dockWatcher, &QDBusServiceWatcher::serviceRegistered, this, [this] {
        announce();
        publish();
    });
}

bool DBusDockTile::dockIsRunning() const {
    return m_bus.isConnected() && m_bus.interface() &&
           m_bus.interface()->isServiceRegistered(Protocol::Bus::dockService).value();
}

QSize DBusDockTile::size() const {
    if (dockIsRunning()) {
        QDBusMessage get =
            QDBusMessage::createMethodCall(Protocol::Bus::dockService, Protocol::Bus::dockPath,
                                           QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
        get << Protocol::Bus::dockInterface << QStringLiteral("TileSize");
        const QDBusReply<QDBusVariant> reply = m_bus.call(get, QDBus::Block, 1000);
        bool ok = false;
        const int pixels = reply.isValid() ? reply.value().variant().toInt(&ok) : 0;
        if (ok && pixels > 0 && pixels <= 1024)
            return {pixels, pixels};
    }
    return {kDefaultSize, kDefaultSize};
}

void DBusDockTile::setContent(const QImage& content) {
    m_lastContent = content;
    if (dockIsRunning())
        publish();
}

void DBusDockTile::publish() {
    if (m_lastContent.isNull())
        return;
    const std::optional<QByteArray> png = PngEncoder::encode(m_lastContent);
    if (!png)
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(Protocol::Bus::dockService, Protocol::Bus::dockPath,
                                                       Protocol::Bus::dockInterface, QStringLiteral("SetTileContent"));
    call << m_bundlePath << *png;
    // The Dock redraws on its own time; this process does not wait for it.
    m_bus.asyncCall(call);
}

void DBusDockTile::setShownInDock(bool shown) {
    const bool changed = shown != m_shown;
    m_shown = shown;
    // Announcing "not shown" matters only to a Dock that was told otherwise.
    if (changed || shown)
        announce();
}

void DBusDockTile::announce() {
    if (!m_bus.isConnected())
        return;
    const QString method = m_shown ? QStringLiteral("Register") : QStringLiteral("Unregister");
    QDBusMessage call = QDBusMessage::createMethodCall(Protocol::Bus::dockService, Protocol::Bus::dockPath,
                                                       Protocol::Bus::dockInterface, method);
    call << m_bundlePath;
    // No Dock, no tile: the call simply finds no one, and the Dock's arrival announces again.
    call.setAutoStartService(false);
    m_bus.asyncCall(call);
}
