#include "FileIcons.h"

#include "Bundle.h"
#include "DesktopEntries.h"
#include "FileSystem.h"
#include "PngEncoder.h"
#include "Symbols.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QImageReader>
#include <QPainter>
#include <QPainterPath>
#include <QStandardPaths>
#include <QtEndian>

#include <algorithm>
#include <optional>
#include <utility>

#include <unistd.h>

namespace {

const DesktopEntries* desktopEntries = nullptr;

// Icon files are small; larger sides are a caller's mistake, not something to allocate for.
constexpr int kMaxSide = 4096;
// An .icns holds one picture per size; a file claiming more is not worth walking through.
constexpr int kMaxImagesPerFile = 64;

// The format of an icon file by its first bytes, for the kinds icons come in. A reader left to find
// it out asks every image plugin installed, loading each with its libraries, and every helper would
// carry them all.
QByteArray formatOf(const QString& file) {
    int error = 0;
    QString why;
    const int fd =
        FileSystem::openRegularFile(file, FileSystem::kDocumentLimit, FileSystem::Links::Follow, &error, &why);
    if (fd < 0)
        return {};
    char bytes[16] = {};
    const ssize_t got = ::read(fd, bytes, sizeof bytes);
    ::close(fd);
    const QByteArray head(bytes, got > 0 ? qsizetype(got) : 0);
    for (const auto& [magic, format] : {std::pair{"\x89PNG\r\n\x1a\n", "png"},
                                        {"icns", "icns"},
                                        {"\xff\xd8\xff", "jpeg"},
                                        {"GIF8", "gif"},
                                        {"BM", "bmp"},
                                        {"/* XPM */", "xpm"}}) {
        if (head.startsWith(magic))
            return format;
    }
    return {};
}

// Whether a picture of side `candidate` is better than the best so far: the smallest that is at
// least `size`, else the largest.
bool isBetter(int candidate, std::optional<int> best, int size) {
    if (!best)
        return true;
    const bool bigEnough = candidate >= size, bestIsBigEnough = *best >= size;
    return (bigEnough && (!bestIsBigEnough || candidate < *best)) ||
           (!bigEnough && !bestIsBigEnough && candidate > *best);
}

// A reader of `format` alone: one left to find the format asks every plugin for it first.
QImage decode(QIODevice* device, const QByteArray& format) {
    QImageReader reader(device, format);
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

// An .icns file is "icns" and its length, then entries of a type, a length and the data; today's
// entries hold PNG files, whose header gives their size. The best of those is decoded alone, as a
// PNG: the toolkit's own icns reader hands them to a reader that asks every plugin what they are.
std::optional<QImage> bestPngInIcns(const QString& file, int size) {
    const FileSystem::ReadResult read = FileSystem::readFile(file, FileSystem::kPropertyListLimit);
    if (!read.bytes)
        return std::nullopt;
    const QByteArray& bytes = *read.bytes;
    const auto bigEndian = [&bytes](qsizetype at) { return qFromBigEndian<quint32>(bytes.constData() + at); };
    std::optional<int> bestSide;
    QByteArray bestPng;
    qsizetype at = 8;
    for (int entry = 0; entry < kMaxImagesPerFile && at + 8 <= bytes.size(); ++entry) {
        const quint32 length = bigEndian(at + 4);
        if (length < 8 || length > quint32(bytes.size() - at))
            break;
        const QByteArray data = bytes.mid(at + 8, length - 8);
        at += length;
        if (data.size() < 24 || !data.startsWith("\x89PNG\r\n\x1a\n"))
            continue;
        const auto dimension = [&data](qsizetype offset) { return qFromBigEndian<quint32>(data.constData() + offset); };
        const int side = int(std::min<quint32>({dimension(16), dimension(20), quint32(kMaxSide)}));
        if (isBetter(side, bestSide, size)) {
            bestSide = side;
            bestPng = data;
        }
    }
    if (bestPng.isEmpty())
        return std::nullopt;
    QBuffer buffer(&bestPng);
    const QImage image = decode(&buffer, "png");
    return image.isNull() ? std::nullopt : std::optional<QImage>(image);
}

// Of the pictures in an icon file, the smallest that is at least `size` wide and high, else the largest.
std::optional<QImage> readBestImage(const QString& file, int size) {
    if (!QFileInfo(file).isFile())
        return std::nullopt;
    const QByteArray format = formatOf(file);
    if (format == "icns")
        if (std::optional<QImage> image = bestPngInIcns(file, size))
            return image;
    QImageReader reader(file, format);
    // Only what the first bytes do not tell is left to the reader to find out.
    reader.setAutoDetectImageFormat(format.isEmpty());
    reader.setDecideFormatFromContent(format.isEmpty());
    std::optional<QImage> best;
    const int count = std::clamp(reader.imageCount(), 1, kMaxImagesPerFile);
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !reader.jumpToImage(i))
            break;
        const QImage image = reader.read();
        if (!image.isNull() &&
            isBetter(std::min(image.width(), image.height()),
                     best ? std::optional<int>(std::min(best->width(), best->height())) : std::nullopt, size))
            best = image;
    }
    return best;
}

// CFBundleIconFile names a file in Contents/Resources; a name that leaves that folder is ignored.
std::optional<QImage> bundleIcon(const QString& path, int size) {
    const Bundle bundle(path);
    const QVariant value = bundle.infoValue(QStringLiteral("CFBundleIconFile"));
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    const QString name = value.toString();
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") || name.contains(u'/'))
        return std::nullopt;
    const QString base = bundle.resourcesPath() + u'/' + name;
    for (const QString& file : {base, QString(base + QStringLiteral(".icns")), QString(base + QStringLiteral(".png"))})
        if (std::optional<QImage> image = readBestImage(file, size))
            return image;
    return std::nullopt;
}

// The freedesktop icon lookup: the current theme, then hicolor, in each data directory's "icons".
// Set up once, where the platform left it unset.
void prepareIconThemes() {
    static const bool prepared = [] {
        const QStringList searchPaths = QIcon::themeSearchPaths();
        if (searchPaths.isEmpty() || searchPaths == QStringList{QStringLiteral(":/icons")}) {
            QStringList paths{QDir::homePath() + QStringLiteral("/.icons")};
            for (const QString& directory : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
                paths << directory + QStringLiteral("/icons");
            QIcon::setThemeSearchPaths(paths);
        }
        if (QIcon::themeName().isEmpty())
            QIcon::setThemeName(QStringLiteral("hicolor"));
        if (QIcon::fallbackThemeName().isEmpty())
            QIcon::setFallbackThemeName(QStringLiteral("hicolor"));
        return true;
    }();
    Q_UNUSED(prepared);
}

// Names are given without an extension, though many entries write one ("tool.png").
QString withoutImageExtension(const QString& name) {
    for (const QLatin1String extension : {QLatin1String(".png"), QLatin1String(".svg"), QLatin1String(".xpm")})
        if (name.endsWith(extension, Qt::CaseInsensitive))
            return name.chopped(extension.size());
    return name;
}

std::optional<QImage> themeIcon(const QString& name, int size) {
    prepareIconThemes();
    if (name.contains(u'/'))
        return std::nullopt;
    const QIcon icon = QIcon::fromTheme(withoutImageExtension(name));
    if (!icon.isNull()) {
        const QImage image = icon.pixmap(QSize(size, size)).toImage();
        if (!image.isNull())
            return image;
    }
    // Not in a theme: the bare files of each data directory's "pixmaps".
    for (const QString& directory : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
        const QString base = directory + QStringLiteral("/pixmaps/") + name;
        for (const QString& file : {base, QString(base + QStringLiteral(".png")),
                                    QString(base + QStringLiteral(".svg")), QString(base + QStringLiteral(".xpm"))})
            if (std::optional<QImage> image = readBestImage(file, size))
                return image;
    }
    return std::nullopt;
}

std::optional<QImage> desktopEntryIcon(const QString& path, int size) {
    if (!desktopEntries)
        return std::nullopt;
    const QString icon = desktopEntries->iconOf(path);
    if (icon.isEmpty())
        return std::nullopt;
    return QDir::isAbsolutePath(icon) ? readBestImage(icon, size) : themeIcon(icon, size);
}

QImage fitted(const QImage& picture, int size) {
    QImage result(size, size, QImage::Format_ARGB32_Premultiplied);
    result.fill(Qt::transparent);
    const QImage scaled = picture.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPainter painter(&result);
    painter.drawImage((size - scaled.width()) / 2, (size - scaled.height()) / 2, scaled);
    return result;
}

// A rounded grey square with an app-grid glyph, on the proportions of an application icon.
QImage genericApplicationIcon(int size) {
    QImage result(size, size, QImage::Format_ARGB32_Premultiplied);
    result.fill(Qt::transparent);
    QPainter painter(&result);
    painter.setRenderHint(QPainter::Antialiasing);
    const double inset = size * 0.1;
    const QRectF body(inset, inset, size - 2 * inset, size - 2 * inset);
    QLinearGradient fill(body.topLeft(), body.bottomLeft());
    fill.setColorAt(0, QColor(160, 160, 166));
    fill.setColorAt(1, QColor(120, 120, 126));
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(body, body.width() * 0.225, body.width() * 0.225);
    if (const std::optional<QImage> glyph = Symbols::image(QStringLiteral("square.grid.3x3.fill"), body.width() * 0.75,
                                                           false, QColor(255, 255, 255, 235))) {
        painter.drawImage(QPointF((size - glyph->width()) / 2.0, (size - glyph->height()) / 2.0), *glyph);
    }
    return result;
}

// A page with a folded corner and a few lines of text.
QImage genericDocumentIcon(int size) {
    QImage result(size, size, QImage::Format_ARGB32_Premultiplied);
    result.fill(Qt::transparent);
    QPainter painter(&result);
    painter.setRenderHint(QPainter::Antialiasing);
    const double height = size * 0.86;
    const double width = height * 0.76;
    const QRectF page((size - width) / 2, (size - height) / 2, width, height);
    const double fold = width * 0.28;
    QPainterPath outline;
    outline.moveTo(page.topLeft());
    outline.lineTo(page.right() - fold, page.top());
    outline.lineTo(page.right(), page.top() + fold);
    outline.lineTo(page.bottomRight());
    outline.lineTo(page.bottomLeft());
    outline.closeSubpath();
    painter.setPen(QPen(QColor(150, 150, 156), std::max(1.0, size / 64.0)));
    painter.setBrush(QColor(246, 246, 248));
    painter.drawPath(outline);
    QPainterPath corner;
    corner.moveTo(page.right() - fold, page.top());
    corner.lineTo(page.right() - fold, page.top() + fold);
    corner.lineTo(page.right(), page.top() + fold);
    painter.setBrush(QColor(214, 214, 220));
    painter.drawPath(corner);
    painter.setPen(QPen(QColor(190, 190, 196), std::max(1.0, size / 48.0), Qt::SolidLine, Qt::RoundCap));
    for (int line = 0; line < 4; ++line) {
        const double y = page.top() + fold + height * (0.14 + line * 0.13);
        const double right = page.right() - width * (line == 3 ? 0.4 : 0.16);
        painter.drawLine(QPointF(page.left() + width * 0.16, y), QPointF(right, y));
    }
    return result;
}

} // namespace

void FileIcons::setDesktopEntries(const DesktopEntries* entries) {
    desktopEntries = entries;
}

QString FileIcons::customIconPath(const QString& folderPath) {
    return folderPath + QStringLiteral("/Icon\r");
}

std::optional<QImage> FileIcons::bundleIconFile(const QString& bundlePath, int size) {
    return bundleIcon(bundlePath, std::clamp(size, 1, kMaxSide));
}

QImage FileIcons::iconForPath(const QString& path, int size) {
    size = std::clamp(size, 1, kMaxSide);
    if (path.isEmpty())
        return genericApplicationIcon(size);
    const QString cleanPath = QDir::cleanPath(path);
    const QFileInfo info(cleanPath);
    if (info.isDir()) {
        if (const std::optional<QImage> custom = readBestImage(customIconPath(cleanPath), size))
            return fitted(*custom, size);
        if (info.fileName().endsWith(QLatin1String(".app"))) {
            if (const std::optional<QImage> icon = bundleIcon(cleanPath, size))
                return fitted(*icon, size);
        }
        return genericApplicationIcon(size);
    }
    if (info.isFile() && DesktopEntries::isEntryPath(cleanPath)) {
        if (const std::optional<QImage> icon = desktopEntryIcon(cleanPath, size))
            return fitted(*icon, size);
        return genericApplicationIcon(size);
    }
    return info.isFile() ? genericDocumentIcon(size) : genericApplicationIcon(size);
}

bool FileIcons::setCustomIcon(const QImage& image, const QString& path) {
    if (image.isNull() || path.isEmpty() || !QFileInfo(path).isDir())
        return false;
    const std::optional<QByteArray> png = PngEncoder::encode(image);
    return png && FileSystem::writeFileAtomically(customIconPath(path), *png);
}
