#pragma once

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QString>

#include <functional>
#include <optional>

// File icons decoded once and kept, by path and pixel size, for as long as the path's own
// modification time stays the same: a bundle given a custom icon, or replaced by an update, is
// decoded again at its next lookup (a file changed deep inside a bundle is not noticed).
// Given a folder, each decoded icon is also kept there, as its pixels: a helper's first popup
// reads those instead of decoding large icon files, every process shares them, and the memory
// can let go of them between popups. Main thread only.
class FileIconCache {
public:
    using Decoder = std::function<QImage(const QString& path, int size)>;

    // FileIcons::iconForPath unless told otherwise; kept in memory only without a folder.
    explicit FileIconCache(Decoder decoder = {}, QString folder = {});

    QImage icon(const QString& path, int size);
    qsizetype size() const { return m_entries.size(); }
    // Lets go of the icons in memory when they are kept in the folder too.
    void releaseMemory();

private:
    struct Entry {
        std::optional<qint64> modified; // nanoseconds
        QImage image;
    };
    QString filePath(const QString& key) const;
    QImage readKept(const QString& key, const QByteArray& stamp) const;
    void keep(const QString& key, const QByteArray& stamp, const QImage& image) const;

    Decoder m_decoder;
    QString m_folder;
    QHash<QString, Entry> m_entries; // by path and size
};
