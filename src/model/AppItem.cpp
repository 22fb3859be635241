#include "AppItem.h"

#include <QHashFunctions>
#include <QUrl>

QString AppItem::fileURLForPath(const QString& path, bool isDirectory) {
    QString withSlash = path;
    if (isDirectory && !withSlash.endsWith(u'/'))
        withSlash += u'/';
    return QString::fromLatin1(QUrl::fromLocalFile(withSlash).toEncoded(QUrl::FullyEncoded));
}

QString AppItem::path() const {
    const QUrl url(appURL, QUrl::StrictMode);
    if (!url.isLocalFile())
        return {};
    QString local = url.toLocalFile();
    if (local.size() > 1 && local.endsWith(u'/'))
        local.chop(1);
    return local;
}

size_t qHash(const AppItem& item, size_t seed) {
    return qHashMulti(seed, item.id, item.name, item.bundleID, item.appURL);
}
