#include "FakeDistributedNotifications.h"

void FakeDistributedNotifications::post(const QString& name, const QString& object, const QVariantMap& userInfo) {
    const QVariant objectValue = object.isEmpty() ? QVariant() : QVariant(object);
    posted.append({name, objectValue, userInfo});
    m_center.post(name, objectValue, userInfo);
}

void FakeDistributedNotifications::observe(const QString& name, NotificationHandler handler) {
    m_center.addObserver(name, std::move(handler));
}
