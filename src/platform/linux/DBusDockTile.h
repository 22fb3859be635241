#pragma once

#include "platform/DockTile.h"

#include <QDBusConnection>
#include <QString>

// The tile this process shows in the Linux Dock, published over D-Bus (docs/dock-protocol.md).
// Without a Dock on the bus there is no tile to draw on: publishing does nothing.
class DBusDockTile final : public DockTile {
public:
    static constexpr int kDefaultSize = 128;

    DBusDockTile(QString bundlePath, const QDBusConnection& bus = QDBusConnection::sessionBus());

    QSize size() const override;
    void setContent(const QImage& content) override;

private:
    bool dockIsRunning() const;

    QString m_bundlePath;
    QDBusConnection m_bus;
};
