#include "FakeDistributedNotifications.h"

void FakeDistributedNotifications::post(const QString& name, const QString& object, const QVariantMap& userInfo) {
    posted.append({.name = name,
                   .object = object.isEmpty() ? QVariant() : QVariant(object),
                   .userInfo = userInfo,
                   .sender = ownSender});
    // Copies of both: a handler may post or observe, which can reallocate either.
    const Notification notification = posted.last();
    const QList<NotificationHandler> handlers = m_handlers.value(name);
    for (const NotificationHandler& handler : handlers)
        handler(notification);
}

void FakeDistributedNotifications::observe(const QString& name, NotificationHandler handler) {
    m_handlers[name].append(std::move(handler));
}
