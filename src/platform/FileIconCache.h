#pragma once

#include <QDateTime>
#include <QHash>
#include <QImage>
#include <QString>

#include <functional>

// File icons decoded once and kept, by path and pixel size, for as long as the file's
// modification time stays the same; a bundle whose icon is replaced gets a new entry at its
// next lookup. Main thread only.
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
