#include "DBusHelperEndings.h"

#include "LinuxApplication.h"

DBusHelperEndings::DBusHelperEndings(const QDBusConnection& bus, const QString& bundleIdentifier)
    : m_bus(bus)
    , m_helperNamePrefix(LinuxApplication::helperServiceNamespace(bundleIdentifier) + u'.') {}

void DBusHelperEndings::observeHelperEndings(std::function<void()> handler) {
    m_handlers.push_back(std::move(handler));
    // Every name change of the bus: its match rules cannot select a namespace of names in the
    // Qt this builds on, so the helpers' names are picked out here.
    if (!m_subscribed)
        m_subscribed = m_bus.connect(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                                     QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameOwnerChanged"), this,
                                     SLOT(nameOwnerChanged(QString, QString, QString)));
}

void DBusHelperEndings::nameOwnerChanged(const QString& name, const QString& oldOwner, const QString& newOwner) {
    if (!name.startsWith(m_helperNamePrefix) || oldOwner.isEmpty() || !newOwner.isEmpty())
        return;
    const std::vector<std::function<void()>> handlers = m_handlers;
    for (const std::function<void()>& handler : handlers)
        handler();
}
