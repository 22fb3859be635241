#pragma once

#include "platform/DistributedNotifications.h"

#include <QHash>
#include <QList>

// Distributed notifications within the test process: every post is recorded and delivered to
// this process's observers at once, sent by `ownSender`; `deliverFrom` plays another process's post.
class FakeDistributedNotifications final : public DistributedNotifications {
public:
    static inline const QString ownSender = QStringLiteral(":fake.this-process");

    void post(const QString& name, const QString& object = {}, const QVariantMap& userInfo = {}) override;
    void observe(const QString& name, NotificationHandler handler) override;

    // Delivers a post of another connection to this process's observers; it is not recorded.
    void deliverFrom(const QString& sender, const QString& name, const QString& object = {},
                     const QVariantMap& userInfo = {});

    QList<Notification> posted;

private:
    void deliver(const Notification& notification);

    QHash<QString, QList<NotificationHandler>> m_handlers;
};
