#include "FileIconCache.h"

#include "FileIcons.h"
#include "FileSystem.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QTemporaryFile>

#include <cstdio>
#include <cstring>

namespace {

constexpr quint32 kMagic = 0x54524943; // "TRIC"
constexpr qint64 kKeptLimit = 4 * 1024 * 1024;

// What an icon kept on disk was made from. Beyond the path's own time, what a bundle's icon
// comes from and the icon theme a desktop entry's is looked up in: either may change while
// the path stays as it was, and a kept icon outlives the process.
QString stampOf(const QString& path, const QDateTime& modified) {
    QString stamp = QString::number(modified.toMSecsSinceEpoch());
    for (const char* inside : {"/Contents/Info.plist", "/Contents/Resources"}) {
        const QFileInfo part(path + QLatin1String(inside));
        stamp += u' ' + (part.exists() ? QString::number(part.lastModified().toMSecsSinceEpoch()) : QString());
    }
    return stamp + u' ' + QIcon::themeName();
}

} // namespace

FileIconCache::FileIconCache(Decoder decoder, QString folder)
    : m_decoder(decoder ? std::move(decoder) : Decoder(&FileIcons::iconForPath))
    , m_folder(std::move(folder)) {}

QImage FileIconCache::icon(const QString& path, int size) {
    const QString key = QString::number(size) + u' ' + path;
    const QDateTime modified = QFileInfo(path).lastModified();
    const auto found = m_entries.constFind(key);
    if (found != m_entries.constEnd() && found->modified == modified)
        return found->image;
    // Nothing at the path has nothing to tell a kept icon from another by.
    const bool keptOnDisk = !m_folder.isEmpty() && modified.isValid();
    const QString stamp = keptOnDisk ? stampOf(path, modified) : QString();
    QImage image = keptOnDisk ? readKept(key, stamp) : QImage();
    if (image.isNull()) {
        image = m_decoder(path, size);
        if (keptOnDisk && !image.isNull())
            keep(key, stamp, image);
    }
    m_entries.insert(key, Entry{modified, image});
    return image;
}

void FileIconCache::releaseMemory() {
    if (!m_folder.isEmpty())
        m_entries.clear();
}

QString FileIconCache::filePath(const QString& key) const {
    return m_folder + u'/' +
           QString::fromLatin1(QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).toHex()) +
           QStringLiteral(".icon");
}

// A kept icon: the magic, the key and stamp it was made for, its size and format, its pixels.
QImage FileIconCache::readKept(const QString& key, const QString& stamp) const {
    const FileSystem::ReadResult file = FileSystem::readFile(filePath(key), kKeptLimit);
    if (!file.bytes)
        return {};
    QDataStream in(*file.bytes);
    quint32 magic = 0;
    QString keptKey, keptStamp;
    qint32 width = 0, height = 0, format = 0;
    QByteArray pixels;
    in >> magic >> keptKey >> keptStamp >> width >> height >> format >> pixels;
    // Another key with the same hash, an older picture, or a file cut short: decoded again.
    if (in.status() != QDataStream::Ok || magic != kMagic || keptKey != key || keptStamp != stamp || width <= 0 ||
        height <= 0 || format != QImage::Format_ARGB32_Premultiplied || pixels.size() != qsizetype(width) * height * 4)
        return {};
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < height; ++y)
        std::memcpy(image.scanLine(y), pixels.constData() + qsizetype(y) * width * 4, size_t(width) * 4);
    return image;
}

void FileIconCache::keep(const QString& key, const QString& stamp, const QImage& decoded) const {
    const QImage image = decoded.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QByteArray pixels;
    pixels.reserve(qsizetype(image.width()) * image.height() * 4);
    for (int y = 0; y < image.height(); ++y)
        pixels.append(reinterpret_cast<const char*>(image.constScanLine(y)), qsizetype(image.width()) * 4);
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << kMagic << key << stamp << qint32(image.width()) << qint32(image.height())
        << qint32(QImage::Format_ARGB32_Premultiplied) << pixels;
    // A cache: written whole under another name and renamed, so a reader never sees half of one,
    // but not synced, and nothing is lost when it fails.
    if (!QDir().mkpath(m_folder))
        return;
    QTemporaryFile file(m_folder + QStringLiteral("/XXXXXX.part"));
    if (!file.open() || file.write(bytes) != bytes.size() || !file.flush())
        return;
    if (std::rename(QFile::encodeName(file.fileName()).constData(), QFile::encodeName(filePath(key)).constData()) == 0)
        file.setAutoRemove(false);
}
