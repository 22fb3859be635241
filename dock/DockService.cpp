#include "DockService.h"

#include "DockTiles.h"

#include "platform/DockFileFormat.h"
#include "platform/Protocol.h"

#include <QDBusConnectionInterface>
#include <QDBusMetaType>
#include <QDBusServiceWatcher>
#include <QImage>

QDBusArgument& operator<<(QDBusArgument& argument, const DockTileRecord& record) {
    argument.beginStructure();
    argument << record.path << record.label << record.pinned << record.running << record.geometry.x()
             << record.geometry.y() << record.geometry.width() << record.geometry.height();
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, DockTileRecord& record) {
    int x = 0, y = 0, width = 0, height = 0;
    argument.beginStructure();
    argument >> record.path >> record.label >> record.pinned >> record.running >> x >> y >> width >> height;
    argument.endStructure();
    record.geometry = QRect(x, y, width, height);
    return argument;
}

DockService::DockService(DockTiles& tiles, View view, const QDBusConnection& bus)
    : m_tiles(tiles)
    , m_view(std::move(view))
    , m_bus(bus)
    , m_owners(new QDBusServiceWatcher(QString(), m_bus, QDBusServiceWatcher::WatchForUnregistration, this)) {
    qDBusRegisterMetaType<DockTileRecord>();
    qDBusRegisterMetaType<QList<DockTileRecord>>();
    connect(m_owners, &QDBusServiceWatcher::serviceUnregistered, this, [this](const QString& owner) {
        m_owners->removeWatchedService(owner);
        m_tiles.dropOwner(owner);
    });
}

bool DockService::publish() {
    if (!m_bus.isConnected())
        return false;
    if (!m_bus.registerObject(Protocol::Bus::dockPath, this,
                              QDBusConnection::ExportScriptableSlots | QDBusConnection::ExportAllProperties))
        return false;
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
        m_bus.interface()->registerService(Protocol::Bus::dockService, QDBusConnectionInterface::DontQueueService,
                                           QDBusConnectionInterface::DontAllowReplacement);
    return reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered;
}

std::optional<QString> DockService::checkedPath(const QString& bundlePath) {
    const std::optional<QString> path = DockFileFormat::standardisedPath(bundlePath);
    if (!path && calledFromDBus())
        sendErrorReply(QDBusError::InvalidArgs, QStringLiteral("not an absolute path: ") + bundlePath);
    return path;
}

void DockService::watch(const QString& owner) {
    if (m_owners->watchedServices().contains(owner))
        return;
    m_owners->addWatchedService(owner);
    // The connection may have ended before the watch began.
    if (!m_bus.interface()->isServiceRegistered(owner).value())
        m_tiles.dropOwner(owner);
}

void DockService::SetTileContent(const QString& bundlePath, const QByteArray& png) {
    const std::optional<QString> path = checkedPath(bundlePath);
    if (!path)
        return;
    QImage content;
    if (png.size() > maximumContentBytes || !content.loadFromData(png, "PNG") || content.isNull()) {
        sendErrorReply(QDBusError::InvalidArgs, QStringLiteral("the tile content is not a PNG image"));
        return;
    }
    const QString owner = message().service();
    m_tiles.setContent(owner, *path, content);
    watch(owner);
}

void DockService::Register(const QString& bundlePath) {
    if (const std::optional<QString> path = checkedPath(bundlePath)) {
        const QString owner = message().service();
        m_tiles.registerApplication(owner, *path);
        watch(owner);
    }
}

void DockService::Unregister(const QString& bundlePath) {
    if (const std::optional<QString> path = checkedPath(bundlePath))
        m_tiles.unregisterApplication(message().service(), *path);
}

QList<DockTileRecord> DockService::Tiles() {
    return m_view.tiles();
}
