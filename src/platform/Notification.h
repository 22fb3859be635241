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
};

using NotificationHandler = std::function<void(const Notification&)>;
