#pragma once

#include "dock/DockService.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QFileInfo>

#include <algorithm>

// Whether the Linux Dock on this bus shows the bundle at `bundlePath` as a running application.
inline bool dockShowsRunning(QDBusConnection& connection, const QString& bundlePath) {
    const QDBusMessage reply = connection.call(
        QDBusMessage::createMethodCall("app.trellin.Dock", "/app/trellin/Dock", "app.trellin.Dock", "Tiles"));
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return false;
    const auto records = qdbus_cast<QList<DockTileRecord>>(reply.arguments().at(0));
    return std::any_of(records.begin(), records.end(), [&bundlePath](const DockTileRecord& record) {
        return record.running && QFileInfo(record.path) == QFileInfo(bundlePath);
    });
}
