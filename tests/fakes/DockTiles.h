#pragma once

#include <QFileInfo>
#include <QUrl>
#include <QVariantMap>

// A "persistent-apps" entry as the Dock writes one for an application bundle.
inline QVariantMap dockTile(const QString& bundlePath) {
    const QVariantMap fileData{{"_CFURLString", QString::fromLatin1(QUrl::fromLocalFile(bundlePath + '/').toEncoded())},
                               {"_CFURLStringType", 15}};
    return {{"tile-data", QVariantMap{{"file-data", fileData}, {"file-label", QFileInfo(bundlePath).baseName()}}}};
}
