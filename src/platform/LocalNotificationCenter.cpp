#include "LocalNotificationCenter.h"

LocalNotificationCenter::Token LocalNotificationCenter::addObserver(const QString& name, NotificationHandler handler) {
    const Token token = m_nextToken++;
    m_observers.append({token, name, std::move(handler)});
    return token;
}

LocalNotificationCenter::Token LocalNotificationCenter::addObserver(const QString& name, const QObject* context,
                                                                    NotificationHandler handler) {
    m_observers.removeIf([](const Observer& observer) { return observer.isGone(); });
    const Token token = m_nextToken++;
    m_observers.append({token, name, std::move(handler), true, context});
    return token;
}

void LocalNotificationCenter::removeObserver(Token token) {
    m_observers.removeIf([token](const Observer& observer) { return observer.token == token; });
}

void LocalNotificationCenter::post(const QString& name, const QVariant& object, const QVariantMap& userInfo) {
    const Notification notification{name, object, userInfo};
    // A handler may add or remove observers; deliver to the ones registered when the post began.
    const QList<Observer> observers = m_observers;
    for (const Observer& observer : observers) {
        // An earlier handler may have destroyed a later observer's context.
        if (observer.name == name && !observer.isGone())
            observer.handler(notification);
    }
}
