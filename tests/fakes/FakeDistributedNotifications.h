#pragma once

#include "platform/DistributedNotifications.h"
#include "platform/LocalNotificationCenter.h"

#include <QList>

// Distributed notifications within the test process: every post is recorded and delivered to
// this process's observers at once.
class FakeDistributedNotifications final : public DistributedNotifications {
public:
    void post(const QString& name, const QString& object = {}, const QVariantMap& userInfo = {}) override;
    void observe(const QString& name, NotificationHandler handler) override;

    QList<Notification> posted;

private:
    LocalNotificationCenter m_center;
};
