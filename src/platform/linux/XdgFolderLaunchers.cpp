#include "XdgFolderLaunchers.h"

#include "platform/FileSystem.h"
#include "platform/PngEncoder.h"
#include "platform/linux/DesktopEntryText.h"
#include "platform/linux/LinuxPaths.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Docks show a launcher's picture large, and some scale small ones up blurred.
constexpr int kMinimumPictureSize = 256;
// An entry is a few lines; a picture a tile drawn at dock sizes.
constexpr qint64 kEntryLimit = 64 * 1024;
constexpr qint64 kPictureLimit = 16 * 1024 * 1024;
// Enough of the content hash that two pictures of one launcher never share a name.
constexpr int kHashLength = 16;

std::optional<QByteArray> pictureBytes(const QImage& icon) {
    if (icon.isNull())
        return std::nullopt;
    if (icon.width() >= kMinimumPictureSize && icon.height() >= kMinimumPictureSize)
        return PngEncoder::encode(icon);
    return PngEncoder::encode(icon.scaled(kMinimumPictureSize, kMinimumPictureSize, Qt::KeepAspectRatioByExpanding,
                                          Qt::SmoothTransformation));
}

QString entryText(const FolderLaunchers::Launcher& launcher, const QString& picturePath) {
    using DesktopEntryText::stringValue;
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=%1\n"
                          "Exec=%2\n"
                          "Icon=%3\n"
                          "StartupWMClass=%4\n"
                          "StartupNotify=false\n")
        .arg(stringValue(launcher.name), DesktopEntryText::execLine(launcher.command.value(0), launcher.command.mid(1)),
             stringValue(picturePath), stringValue(launcher.windowClass));
}

// Removes a file or a link, never what a link leads to and never a folder: only what Trellin
// wrote is taken away. True when nothing is at `path` afterwards.
bool removeFile(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    struct stat status {};
    if (::lstat(name.constData(), &status) != 0)
        return errno == ENOENT;
    if (!S_ISREG(status.st_mode) && !S_ISLNK(status.st_mode))
        return false;
    return ::unlink(name.constData()) == 0 || errno == ENOENT;
}

} // namespace

XdgFolderLaunchers::XdgFolderLaunchers(QString entriesDirectory, QString picturesDirectory)
    : m_entriesDirectory(std::move(entriesDirectory))
    , m_picturesDirectory(std::move(picturesDirectory)) {}

QString XdgFolderLaunchers::standardEntriesDirectory() {
    return LinuxPaths::applicationSupportDirectory() + QStringLiteral("/applications");
}

QString XdgFolderLaunchers::entryPath(const QString& entryId) const {
    return QDir(m_entriesDirectory).filePath(entryId);
}

std::optional<QString> XdgFolderLaunchers::write(const QUuid& folder, const Launcher& launcher) {
    Launcher own = launcher;
    own.windowClass = windowClass(folder);
    return publish(entryId(folder), windowClass(folder), own);
}

std::optional<QString> XdgFolderLaunchers::ensureMainEntry(const Launcher& launcher) {
    return publish(mainEntryId(), QStringLiteral("trellin"), launcher);
}

bool XdgFolderLaunchers::exists(const QUuid& folder) const {
    struct stat status {};
    return ::lstat(QFile::encodeName(entryPath(entryId(folder))).constData(), &status) == 0;
}

std::optional<QString> XdgFolderLaunchers::remove(const QUuid& folder) {
    const QString entry = entryPath(entryId(folder));
    if (!removeFile(entry))
        return QStringLiteral("cannot remove %1").arg(entry);
    // Without the entry nothing names its pictures any more.
    if (FileSystem::isRealFolder(m_picturesDirectory) && !deletePictures(windowClass(folder), {}))
        return QStringLiteral("cannot remove the pictures of %1 in %2").arg(entry, m_picturesDirectory);
    return std::nullopt;
}

std::optional<QString> XdgFolderLaunchers::publish(const QString& entryId, const QString& stem,
                                                   const Launcher& launcher) {
    if (launcher.command.value(0).isEmpty())
        return QStringLiteral("no program to start for %1").arg(entryId);
    const std::optional<QByteArray> png = pictureBytes(launcher.icon);
    if (!png)
        return QStringLiteral("no picture for %1").arg(entryId);
    if (const std::optional<QString> failure = preparePicturesDirectory())
        return failure;
    if (!QDir().mkpath(m_entriesDirectory))
        return QStringLiteral("cannot create %1").arg(m_entriesDirectory);

    const QString hash =
        QString::fromLatin1(QCryptographicHash::hash(*png, QCryptographicHash::Sha256).toHex().left(kHashLength));
    const QString pictureName = stem + u'-' + hash + QStringLiteral(".png");
    const QString picturePath = QDir(m_picturesDirectory).filePath(pictureName);
    QString reason;
    const bool pictureIsThere =
        FileSystem::readFile(picturePath, kPictureLimit, FileSystem::Links::Refuse).bytes == png;
    if (!pictureIsThere && !FileSystem::writeFileAtomically(picturePath, *png, &reason, FileSystem::Links::Refuse))
        return QStringLiteral("cannot write %1: %2").arg(picturePath, reason);

    const QString entry = entryPath(entryId);
    const QByteArray text = entryText(launcher, picturePath).toUtf8();
    // A link at the entry's place is read as no entry and replaced, never written through.
    if (FileSystem::readFile(entry, kEntryLimit, FileSystem::Links::Refuse).bytes != text &&
        !FileSystem::writeFileAtomically(entry, text, &reason, FileSystem::Links::Refuse)) {
        if (!pictureIsThere)
            removeFile(picturePath);
        return QStringLiteral("cannot write %1: %2").arg(entry, reason);
    }
    // Earlier pictures only now, when the entry no longer names them. One left behind (a
    // folder that refused) goes with the next change.
    deletePictures(stem, pictureName);
    return std::nullopt;
}

QStringList XdgFolderLaunchers::picturesOf(const QString& stem) const {
    const QRegularExpression name(
        QStringLiteral("^%1-[0-9a-f]{%2}\\.png$").arg(QRegularExpression::escape(stem)).arg(kHashLength));
    return QDir(m_picturesDirectory)
        .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Unsorted)
        .filter(name);
}

bool XdgFolderLaunchers::deletePictures(const QString& stem, const QString& keep) const {
    bool removed = true;
    for (const QString& picture : picturesOf(stem)) {
        const QString path = QDir(m_picturesDirectory).filePath(picture);
        // A folder was never one of them, whatever its name.
        if (picture != keep && !FileSystem::isRealFolder(path))
            removed = removeFile(path) && removed;
    }
    return removed;
}

std::optional<QString> XdgFolderLaunchers::preparePicturesDirectory() const {
    // The folder is Trellin's own: a link in its place leads somewhere Trellin has no business
    // writing or deleting in.
    if (FileSystem::isLink(m_picturesDirectory))
        return QStringLiteral("%1 is a link, not a folder").arg(m_picturesDirectory);
    if (!QDir().mkpath(m_picturesDirectory) || !FileSystem::isRealFolder(m_picturesDirectory))
        return QStringLiteral("cannot create %1").arg(m_picturesDirectory);
    return std::nullopt;
}
