#pragma once

#include "Notification.h"

#include <QHash>
#include <QList>
#include <QPointer>

// Process-local notifications by name. Observers are called synchronously, in the order they registered.
class LocalNotificationCenter {
public:
    using Token = int;

    Token addObserver(const QString& name, NotificationHandler handler);
    // An observer that belongs to `context`: it is dropped once the context is destroyed.
    Token addObserver(const QString& name, const QObject* context, NotificationHandler handler);
    void removeObserver(Token token);
    void post(const QString& name, const QVariant& object = {}, const QVariantMap& userInfo = {});

private:
    struct Observer {
        Token token;
        QString name;
        NotificationHandler handler;
        bool isBound = false;
        QPointer<const QObject> context = {};

        bool isGone() const { return isBound && !context; }
    };
    QList<Observer> m_observers;
    Token m_nextToken = 1;
};
