#pragma once

#include "platform/InstanceEndings.h"

#include <QDBusConnection>
#include <QDBusServiceWatcher>

// A helper holds its single-instance name on the session bus while it runs (see
// LinuxApplication::instanceServiceName); the bus drops the name when the process ends, even by
// a crash. This watches the names under the helpers' namespace for losing their owner.
class DBusHelperEndings final : public InstanceEndings {
public:
    DBusHelperEndings(const QDBusConnection& bus, const QString& bundleIdentifier);

    void observeHelperEndings(std::function<void()> handler) override;

private:
    QDBusServiceWatcher m_watcher;
};
