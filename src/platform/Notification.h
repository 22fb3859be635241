#pragma once

#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <functional>

// One notification as observers receive it, whether posted in this process or by another one.
struct Notification {
    QString name;
    QVariant object; // invalid when the poster named no object
    QVariantMap userInfo;
    // The poster's connection as the platform names it; empty when the platform cannot tell, as
    // for posts within this process. Only the backend that filled it in can judge it.
    QString sender = {};
};

using NotificationHandler = std::function<void(const Notification&)>;
