#include "FileIconCache.h"

#include "FileIcons.h"
#include "FileSystem.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QTemporaryFile>
#include <QtEndian>

#include <cstdio>
#include <cstring>
#include <optional>

#include <sys/stat.h>

namespace {

constexpr char kMagic[] = "TRIC";
// Icons are kept on disk up to this side; larger ones are decoded each time, as before.
constexpr quint32 kMaxKeptSide = 1024;
constexpr qint64 kKeptLimit = qint64(kMaxKeptSide) * kMaxKeptSide * 4 + 64 * 1024;

// A path's modification time in nanoseconds, or none when nothing is there. Read from the system
// as it is: the toolkit's file times go through the local time zone at every lookup.
std::optional<qint64> modifiedAt(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return qint64(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec;
}

// What an icon kept on disk was made from. Beyond the path's own time, what a bundle's icon
// comes from and the icon theme a desktop entry's is looked up in: either may change while
// the path stays as it was, and a kept icon outlives the process.
QByteArray stampOf(const QString& path, qint64 modified) {
    QByteArray stamp = QByteArray::number(modified);
    for (const char* inside : {"/Contents/Info.plist", "/Contents/Resources"}) {
        const std::optional<qint64> part = modifiedAt(path + QLatin1String(inside));
        stamp += ' ' + (part ? QByteArray::number(*part) : QByteArray());
    }
    return stamp + ' ' + QIcon::themeName().toUtf8();
}

void appendSized(QByteArray& bytes, const QByteArray& part) {
    char size[4];
    qToBigEndian(quint32(part.size()), size);
    bytes.append(size, 4).append(part);
}

// Reads what appendSized wrote at `at`, moving past it; none when the bytes end first.
std::optional<QByteArrayView> takeSized(const QByteArray& bytes, qsizetype& at) {
    if (bytes.size() - at < 4)
        return std::nullopt;
    const quint32 size = qFromBigEndian<quint32>(bytes.constData() + at);
    if (quint64(size) > quint64(bytes.size() - at - 4))
        return std::nullopt;
    const QByteArrayView part(bytes.constData() + at + 4, qsizetype(size));
    at += 4 + qsizetype(size);
    return part;
}

} // namespace

FileIconCache::FileIconCache(Decoder decoder, QString folder)
    : m_decoder(decoder ? std::move(decoder) : Decoder(&FileIcons::iconForPath))
    , m_folder(std::move(folder)) {}

QImage FileIconCache::icon(const QString& path, int size) {
    const QString key = QString::number(size) + u' ' + path;
    const std::optional<qint64> modified = modifiedAt(path);
    const auto found = m_entries.constFind(key);
    if (found != m_entries.constEnd() && found->modified == modified)
        return found->image;
    // Nothing at the path has nothing to tell a kept icon from another by.
    const bool keptOnDisk = !m_folder.isEmpty() && modified;
    const QByteArray stamp = keptOnDisk ? stampOf(path, *modified) : QByteArray();
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

// A kept icon: the magic, the key and stamp it was made for, its width and height, its pixels
// (premultiplied ARGB, row after row).
QImage FileIconCache::readKept(const QString& key, const QByteArray& stamp) const {
    const FileSystem::ReadResult file = FileSystem::readFile(filePath(key), kKeptLimit);
    if (!file.bytes || !file.bytes->startsWith(kMagic))
        return {};
    const QByteArray& bytes = *file.bytes;
    qsizetype at = 4;
    const std::optional<QByteArrayView> keptKey = takeSized(bytes, at);
    const std::optional<QByteArrayView> keptStamp = takeSized(bytes, at);
    // Another key with the same hash, an older picture, or a file cut short: decoded again.
    if (!keptKey || *keptKey != key.toUtf8() || !keptStamp || *keptStamp != stamp || bytes.size() - at < 8)
        return {};
    const quint32 width = qFromBigEndian<quint32>(bytes.constData() + at);
    const quint32 height = qFromBigEndian<quint32>(bytes.constData() + at + 4);
    at += 8;
    if (width == 0 || height == 0 || width > 4096 || height > 4096 ||
        bytes.size() - at != qsizetype(width * height * 4))
        return {};
    QImage image(int(width), int(height), QImage::Format_ARGB32_Premultiplied);
    const qsizetype row = qsizetype(width) * 4;
    for (int y = 0; y < int(height); ++y)
        std::memcpy(image.scanLine(y), bytes.constData() + at + y * row, size_t(row));
    return image;
}

void FileIconCache::keep(const QString& key, const QByteArray& stamp, const QImage& decoded) const {
    if (quint32(decoded.width()) > kMaxKeptSide || quint32(decoded.height()) > kMaxKeptSide)
        return;
    const QImage image = decoded.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const qsizetype row = qsizetype(image.width()) * 4;
    QByteArray bytes(kMagic);
    appendSized(bytes, key.toUtf8());
    appendSized(bytes, stamp);
    char size[8];
    qToBigEndian(quint32(image.width()), size);
    qToBigEndian(quint32(image.height()), size + 4);
    bytes.append(size, 8);
    for (int y = 0; y < image.height(); ++y)
        bytes.append(reinterpret_cast<const char*>(image.constScanLine(y)), row);
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
