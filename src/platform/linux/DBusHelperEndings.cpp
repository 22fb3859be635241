#include "DBusHelperEndings.h"

#include "LinuxApplication.h"

DBusHelperEndings::DBusHelperEndings(const QDBusConnection& bus, const QString& bundleIdentifier)
    : m_watcher(LinuxApplication::helperServiceNamespace(bundleIdentifier) + QLatin1String(".*"), bus,
                QDBusServiceWatcher::WatchForUnregistration) {}

void DBusHelperEndings::observeHelperEndings(std::function<void()> handler) {
    QObject::connect(&m_watcher, &QDBusServiceWatcher::serviceUnregistered, &m_watcher,
                     [handler = std::move(handler)](const QString&) { handler(); });
}
