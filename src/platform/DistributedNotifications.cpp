#include "DistributedNotifications.h"

#include "LifetimeBound.h"

void DistributedNotifications::observe(const QString& name, const QObject* context, NotificationHandler handler) {
    observe(name, boundTo(context, std::move(handler)));
}
