#include "FileSystem.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

// Empties the folder open as `fd` (which this takes over) entry by entry. Every step names its
// entry relative to an open folder and refuses to open a link as a folder, so a link swapped in
// while this runs is unlinked, never entered.
bool emptyFolder(int fd) {
    DIR* folder = ::fdopendir(fd);
    if (!folder) {
        ::close(fd);
        return false;
    }
    bool emptied = true;
    while (const dirent* entry = ::readdir(folder)) {
        const char* name = entry->d_name;
        if (qstrcmp(name, ".") == 0 || qstrcmp(name, "..") == 0)
            continue;
        if (::unlinkat(fd, name, 0) == 0)
            continue;
        // Not removable as a file: a folder (EISDIR on Linux, EPERM elsewhere).
        const int child = ::openat(fd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (child < 0 || !emptyFolder(child) || ::unlinkat(fd, name, AT_REMOVEDIR) != 0)
            emptied = false;
    }
    ::closedir(folder);
    return emptied;
}

bool copyEntry(const QString& source, const QString& target, QString* error) {
    const QByteArray from = QFile::encodeName(source);
    const QByteArray to = QFile::encodeName(target);
    struct stat status {};
    if (::lstat(from.constData(), &status) != 0) {
        *error = QStringLiteral("cannot read %1").arg(source);
        return false;
    }
    bool copied = false;
    if (S_ISLNK(status.st_mode)) {
        QByteArray text(qsizetype(status.st_size) + 1, '\0');
        const ssize_t length = ::readlink(from.constData(), text.data(), size_t(text.size()));
        copied = length >= 0 && length < text.size() && ::symlink(text.left(length).constData(), to.constData()) == 0;
    } else if (S_ISDIR(status.st_mode)) {
        copied = QDir().mkpath(target);
    } else if (S_ISREG(status.st_mode)) {
        copied = QFile::copy(source, target);
    } else {
        *error = QStringLiteral("cannot copy %1: not a file, folder or link").arg(source);
        return false;
    }
    if (!copied)
        *error = QStringLiteral("cannot copy %1 to %2").arg(source, target);
    return copied;
}

bool copyContents(const QString& from, const QString& to, QString* error) {
    const QStringList names =
        QDir(from).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& name : names) {
        const QString source = from + u'/' + name;
        const QString target = to + u'/' + name;
        if (!copyEntry(source, target, error))
            return false;
        struct stat status {};
        if (::lstat(QFile::encodeName(source).constData(), &status) == 0 && S_ISDIR(status.st_mode) &&
            !copyContents(source, target, error))
            return false;
    }
    return true;
}

} // namespace

bool FileSystem::removeItem(const QString& path) {
    const QByteArray encoded = QFile::encodeName(path);
    struct stat status {};
    if (::lstat(encoded.constData(), &status) != 0)
        return errno == ENOENT;
    if (!S_ISDIR(status.st_mode))
        return ::unlink(encoded.constData()) == 0;
    const int fd = ::open(encoded.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    return emptyFolder(fd) && ::rmdir(encoded.constData()) == 0;
}

bool FileSystem::copyTree(const QString& from, const QString& to, QString* error) {
    if (!QDir().mkpath(to)) {
        *error = QStringLiteral("cannot create %1").arg(to);
        return false;
    }
    return copyContents(from, to, error);
}

bool FileSystem::replaceWithLink(const QString& source, const QString& target) {
    const QByteArray from = QFile::encodeName(source);
    const QByteArray to = QFile::encodeName(target);
    // Linked beside the target first, so the target is never missing, even for a moment.
    const QByteArray staging = to + ".link-" + QByteArray::number(qint64(::getpid()));
    ::unlink(staging.constData());
    if (::link(from.constData(), staging.constData()) != 0)
        return false;
    if (::rename(staging.constData(), to.constData()) != 0) {
        ::unlink(staging.constData());
        return false;
    }
    return true;
}

bool FileSystem::writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile file(path);
    // Without a commit the temporary file is removed and the old file stays as it was.
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (error)
        *error = file.errorString();
    return false;
}
