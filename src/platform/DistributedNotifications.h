#pragma once

#include "Notification.h"

class QObject;

// Notifications between processes of this user session, delivered immediately,
// also to processes that are in the background.
class DistributedNotifications {
public:
    virtual ~DistributedNotifications() = default;

    // `object` is an optional string (empty: none); user info values are plain property-list values.
    virtual void post(const QString& name, const QString& object = {}, const QVariantMap& userInfo = {}) = 0;

    // Observes every notification of this name, from any sender, for the life of the process.
    virtual void observe(const QString& name, NotificationHandler handler) = 0;
    // Observes for as long as `context` lives: once it is destroyed, the handler is not called.
    void observe(const QString& name, const QObject* context, NotificationHandler handler);
};
