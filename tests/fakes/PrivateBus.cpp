#include "PrivateBus.h"

PrivateBus::~PrivateBus() {
    for (const QString& name : std::as_const(m_connections))
        QDBusConnection::disconnectFromBus(name);
    m_daemon.kill();
    m_daemon.waitForFinished();
}

bool PrivateBus::start() {
    m_daemon.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address"});
    while (m_daemon.waitForReadyRead(5000) && !m_daemon.canReadLine()) {
    }
    m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    return !m_address.isEmpty();
}

QDBusConnection PrivateBus::connect(const QString& name) {
    m_connections << name;
    return QDBusConnection::connectToBus(m_address, name);
}
