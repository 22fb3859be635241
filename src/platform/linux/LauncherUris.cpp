#include "platform/linux/LauncherUris.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace LauncherUris {

bool isPlainName(const QString& entryId) {
    return !entryId.isEmpty() && !entryId.contains(QLatin1Char('/')) && entryId != QLatin1String(".") &&
           entryId != QLatin1String("..");
}

QString entryIdOfFileUri(const QString& uri, const QString& entriesDirectory) {
    const QUrl url = QUrl::fromEncoded(uri.toUtf8());
    if (!url.isLocalFile())
        return uri;
    const QFileInfo file(QDir::cleanPath(url.toLocalFile()));
    const QString name = file.fileName();
    if (file.path() == entriesDirectory)
        return name;
    return QFileInfo::exists(entriesDirectory + QLatin1Char('/') + name) ? uri : name;
}

} // namespace LauncherUris
