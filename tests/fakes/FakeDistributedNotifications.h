#pragma once

#include "platform/DistributedNotifications.h"

#include <QHash>
#include <QList>

// Distributed notifications within the test process: every post is recorded and delivered to
// this process's observers at once, as sent by `ownSender`.
class FakeDistributedNotifications final : public DistributedNotifications {
public:
    static inline const QString ownSender = QStringLiteral(":fake.this-process");

    void post(const QString& name, const QString& object = {}, const QVariantMap& userInfo = {}) override;
    void observe(const QString& name, NotificationHandler handler) override;
    using DistributedNotifications::observe;

    QList<Notification> posted;

private:
    QHash<QString, QList<NotificationHandler>> m_handlers;
};
