#include "LocalNotificationCenter.h"

LocalNotificationCenter::Token LocalNotificationCenter::addObserver(const QString& name, NotificationHandler handler) {
    const Token token = m_nextToken++;
    m_observers.append({token, name, std::move(handler)});
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
        if (observer.name == name)
            observer.handler(notification);
    }
}
