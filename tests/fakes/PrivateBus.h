#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QStringList>

// A D-Bus daemon of the test's own, so nothing else on a session bus interferes and the tests
// pass with or without one.
class PrivateBus {
public:
    PrivateBus() = default;
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    bool start();
    const QString& address() const { return m_address; }
    // A new named connection of this process to the bus.
    QDBusConnection connect(const QString& name);
    // A new connection with a name of its own, as another process would have.
    QDBusConnection newConnection() { return connect(QStringLiteral("c%1").arg(m_connections.size() + 1)); }

private:
    QProcess m_daemon;
    QString m_address;
    QStringList m_connections;
};
