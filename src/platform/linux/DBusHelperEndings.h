#pragma once

#include "platform/InstanceEndings.h"

#include <QDBusConnection>
#include <QObject>

#include <vector>

// A helper holds its single-instance name on the session bus while it runs (see
// LinuxApplication::instanceServiceName); the bus drops the name when the process ends, even by
// a crash. This watches the bus's name changes for a helper's name losing its owner.
class DBusHelperEndings final : public QObject, public InstanceEndings {
    Q_OBJECT
public:
    DBusHelperEndings(const QDBusConnection& bus, const QString& bundleIdentifier);

    void observeHelperEndings(std::function<void()> handler) override;

private Q_SLOTS:
    void nameOwnerChanged(const QString& name, const QString& oldOwner, const QString& newOwner);

private:
    QDBusConnection m_bus;
    QString m_helperNamePrefix;
    bool m_subscribed = false;
    std::vector<std::function<void()>> m_handlers;
};
