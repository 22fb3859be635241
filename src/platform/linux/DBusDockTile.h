#pragma once

#include "platform/DockTile.h"

#include <QDBusConnection>
#include <QImage>
#include <QObject>
#include <QString>

class QDBusServiceWatcher;

// The tile this process shows in the Linux Dock, published over D-Bus (docs/dock-protocol.md).
// Without a Dock on the bus there is no tile to draw on: publishing does nothing then, and when a
// Dock appears later, the application announces itself again and republishes its last content.
class DBusDockTile final : public QObject, public DockTile {
    Q_OBJECT
public:
    static constexpr int kDefaultSize = 128;

    DBusDockTile(QString bundlePath, const QDBusConnection& bus = QDBusConnection::sessionBus());

    QSize size() const override;
    void setContent(const QImage& content) override;

    // Whether the application stands in the Dock as a running one (the regular activation
    // policy) or not (accessory): Register or Unregister, now and whenever a Dock appears.
    void setShownInDock(bool shown);
    bool isShownInDock() const { return m_shown; }

private:
    bool dockIsRunning() const;
    void announce();
    void publish();

    QString m_bundlePath;
    QDBusConnection m_bus;
    QDBusServiceWatcher* m_dockWatcher;
    bool m_shown = false;
    QImage m_lastContent; // encoded only when a Dock is there to take it
};
