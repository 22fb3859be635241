#include "FileIconCache.h"

#include "FileIcons.h"

#include <QFileInfo>

FileIconCache::FileIconCache(Decoder decoder)
    : m_decoder(decoder ? std::move(decoder) : Decoder(&FileIcons::iconForPath)) {}

QImage FileIconCache::icon(const QString& path, int size) {
    const QString key = QString::number(size) + u' ' + path;
    const QDateTime modified = QFileInfo(path).lastModified();
    const auto found = m_entries.constFind(key);
    if (found != m_entries.constEnd() && found->modified == modified)
        return found->image;
    QImage image = m_decoder(path, size);
    m_entries.insert(key, Entry{modified, image});
    return image;
}
