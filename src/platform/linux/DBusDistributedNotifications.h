#pragma once

#include "platform/DistributedNotifications.h"

#include <QDBusConnection>
#include <QHash>
#include <QList>
#include <QObject>
#include <QStringList>

class QDBusMessage;

// Distributed notifications as a broadcast signal on the D-Bus session bus (described in
// docs/dbus/app.trellin.DistributedNotifications.xml). Every process observing a name receives
// every post of it, this process's own posts included.
class DBusDistributedNotifications : public QObject, public DistributedNotifications {
    Q_OBJECT
public:
    explicit DBusDistributedNotifications(const QDBusConnection& connection = QDBusConnection::sessionBus(),
                                          QObject* parent = nullptr);
    ~DBusDistributedNotifications() override;

    // Without a bus, posting and observing do nothing.
    bool isConnected() const;

    // User info values D-Bus cannot carry (dates, invalid values, ...) are left out.
    void post(const QString& name, const QString& object = {}, const QVariantMap& userInfo = {}) override;
    // Handlers of one name run in the order they were registered. A notification's sender is
    // the unique name of the connection that posted it.
    void observe(const QString& name, NotificationHandler handler) override;
    using DistributedNotifications::observe;

    // Notifications of `names` are taken only from the connection that owns `busName` at the time;
    // the bus does not even route those of anyone else here, so no other program can flood this
    // process with them. To be said before the names are observed.
    void takeOnlyFrom(const QString& busName, const QStringList& names);

    // Whether this process posted the notification.
    bool isOwnPost(const Notification& notification) const;
    // Whether the connection that owns `busName` now posted the notification. The bus is asked
    // each time, so a Dock that started again is still the Dock, and its old connection no longer.
    bool isPostedByOwnerOf(const QString& busName, const Notification& notification) const;

private Q_SLOTS:
    void deliver(const QDBusMessage& message);

private:
    QDBusConnection m_connection;
    QHash<QString, QList<NotificationHandler>> m_handlers;
    QHash<QString, QString> m_onlyFrom; // notification name -> bus name of its one poster
};
