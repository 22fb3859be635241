#pragma once

#include "Notification.h"

#include <QHash>
#include <QList>

// Process-local notifications by name. Observers are called synchronously, in the order they registered.
class LocalNotificationCenter {
public:
    using Token = int;

    Token addObserver(const QString& name, NotificationHandler handler);
    void removeObserver(Token token);
    void post(const QString& name, const QVariant& object = {}, const QVariantMap& userInfo = {});

private:
    struct Observer {
        Token token;
        QString name;
        NotificationHandler handler;
    };
    QList<Observer> m_observers;
    Token m_nextToken = 1;
};
