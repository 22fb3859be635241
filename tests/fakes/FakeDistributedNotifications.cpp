#include "FakeDistributedNotifications.h"

namespace {

Notification notificationOf(const QString& sender, const QString& name, const QString& object,
                            const QVariantMap& userInfo) {
    return {.name = name,
            .object = object.isEmpty() ? QVariant() : QVariant(object),
            .userInfo = userInfo,
            .sender = sender};
}

} // namespace

void FakeDistributedNotifications::post(const QString& name, const QString& object, const QVariantMap& userInfo) {
    posted.append(notificationOf(ownSender, name, object, userInfo));
    deliver(posted.last());
}

void FakeDistributedNotifications::deliverFrom(const QString& sender, const QString& name, const QString& object,
                                               const QVariantMap& userInfo) {
    deliver(notificationOf(sender, name, object, userInfo));
}

void FakeDistributedNotifications::observe(const QString& name, NotificationHandler handler) {
    m_handlers[name].append(std::move(handler));
}

void FakeDistributedNotifications::deliver(const Notification& notification) {
    // A copy of both: a handler may post or observe, which can reallocate either.
    const Notification delivered = notification;
    const QList<NotificationHandler> handlers = m_handlers.value(notification.name);
    for (const NotificationHandler& handler : handlers)
        handler(delivered);
}
