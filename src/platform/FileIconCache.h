#pragma once

#include <QDateTime>
#include <QHash>
#include <QImage>
#include <QString>

#include <functional>

// File icons decoded once and kept, by path and pixel size, for as long as the path's own
// modification time stays the same: a bundle given a custom icon, or replaced by an update, is
// decoded again at its next lookup (a file changed deep inside a bundle is not noticed).
// Main thread only.
class FileIconCache {
public:
    using Decoder = std::function<QImage(const QString& path, int size)>;

    // FileIcons::iconForPath unless told otherwise.
    explicit FileIconCache(Decoder decoder = {});

    QImage icon(const QString& path, int size);
    qsizetype size() const { return m_entries.size(); }

private:
    struct Entry {
        QDateTime modified;
        QImage image;
    };
    Decoder m_decoder;
    QHash<QString, Entry> m_entries; // by path and size
};
