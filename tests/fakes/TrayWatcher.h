#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QStringList>

// A desktop's tray as its items see it: a StatusNotifierWatcher that notes who registers, with a
// host the test can register and unregister.
class TrayWatcher : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ isHostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)
public:
    static inline const QString service = QStringLiteral("org.kde.StatusNotifierWatcher");

    // Puts the watcher on the bus under its well-known name; false when that cannot be done.
    bool publish(QDBusConnection connection) {
        m_connection = connection;
        return m_connection.registerObject(QStringLiteral("/StatusNotifierWatcher"), this,
                                           QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals |
                                               QDBusConnection::ExportAllProperties) &&
               m_connection.registerService(service);
    }
    // Takes it off the bus, as when the desktop's panel quits.
    void withdraw() {
        m_connection.unregisterService(service);
        m_connection.unregisterObject(QStringLiteral("/StatusNotifierWatcher"));
    }

    bool isHostRegistered() const { return m_hostRegistered; }
    int protocolVersion() const { return 0; }
    QStringList items() const { return m_items; }

    void setHostRegistered(bool registered) {
        if (registered == m_hostRegistered)
            return;
        m_hostRegistered = registered;
        if (registered)
            Q_EMIT StatusNotifierHostRegistered();
        else
            Q_EMIT StatusNotifierHostUnregistered();
    }

Q_SIGNALS:
    void StatusNotifierHostRegistered();
    void StatusNotifierHostUnregistered();

public Q_SLOTS:
    void RegisterStatusNotifierItem(const QString& service) { m_items.append(service); }
    void RegisterStatusNotifierHost(const QString&) {}

private:
    QDBusConnection m_connection{QString()};
    QStringList m_items;
    bool m_hostRegistered = true;
};
