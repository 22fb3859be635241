#include "FileSystem.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// Empties the folder open as `fd` (which this takes over) entry by entry. Every step names its
// entry relative to an open folder and refuses to open a link as a folder, so a link swapped in
// while this runs is unlinked, never entered.
constexpr int kRemovalAttempts = 5;

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
    // Listed from the folder itself: one that cannot be opened is a failed copy, not an empty one,
    // and an empty path is no folder at all, not the working folder whose names would then be read
    // from the root.
    DIR* folder = from.isEmpty() ? nullptr : ::opendir(QFile::encodeName(from).constData());
    if (!folder) {
        *error = QStringLiteral("cannot read %1: %2").arg(from, FileSystem::errorText(from.isEmpty() ? ENOENT : errno));
        return false;
    }
    QStringList names;
    while (const dirent* entry = ::readdir(folder)) {
        if (qstrcmp(entry->d_name, ".") != 0 && qstrcmp(entry->d_name, "..") != 0)
            names.append(QFile::decodeName(entry->d_name));
    }
    ::closedir(folder);
    names.sort();
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

QString kindOf(mode_t mode) {
    if (S_ISDIR(mode))
        return QStringLiteral("a folder");
    if (S_ISFIFO(mode))
        return QStringLiteral("a named pipe");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("a device");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    if (S_ISLNK(mode))
        return QStringLiteral("a symbolic link, which is not followed here");
    return QStringLiteral("not a plain file");
}

FileSystem::ReadResult failedRead(int errorNumber, const QString& error) {
    return {std::nullopt, errorNumber, error};
}

QByteArray folderOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return ".";
    return slash == 0 ? QByteArray("/") : path.left(slash);
}

// The file a chain of links at `path` leads to: `path` itself when it is no link. None for a
// chain that does not end.
std::optional<QByteArray> linkDestination(const QByteArray& path) {
    QByteArray current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat status {};
        if (::lstat(current.constData(), &status) != 0 || !S_ISLNK(status.st_mode))
            return current;
        QByteArray text(qsizetype(status.st_size) + 1, '\0');
        const ssize_t length = ::readlink(current.constData(), text.data(), size_t(text.size()));
        if (length < 0 || length >= text.size())
            return std::nullopt;
        text.truncate(length);
        current = text.startsWith('/') ? text : folderOf(current) + '/' + text;
    }
    return std::nullopt;
}

bool writeAll(int fd, const QByteArray& bytes) {
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = ENOSPC;
            return false;
        }
        data += written;
        left -= written;
    }
    return true;
}

// A new file beside `target`, created as itself (never through a link) with the usual
// permissions; -1 when none can be made.
int createBeside(const QByteArray& target, QByteArray* name) {
    const QByteArray folder = folderOf(target);
    const QByteArray base = target.mid(target.lastIndexOf('/') + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        *name = folder + '/' + base + '.' +
                QByteArray::number(QRandomGenerator::global()->generate64() & 0xFFFFFFFFFFFFull, 36);
        const int fd = ::open(name->constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

} // namespace

QString FileSystem::errorText(int errorNumber) {
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}

int FileSystem::openRegularFile(const QString& path, qint64 maxBytes, Links links, int* errorNumber, QString* error) {
    const QByteArray encoded = QFile::encodeName(path);
    const auto fail = [&](int number, const QString& why) {
        *errorNumber = number;
        *error = why;
        return -1;
    };
    // Looked at before it is opened: opening a device or a FIFO can block or act on the device.
    struct stat before {};
    const int looked =
        links == Links::Refuse ? ::lstat(encoded.constData(), &before) : ::stat(encoded.constData(), &before);
    if (looked != 0)
        return fail(errno, errorText(errno));
    if (S_ISLNK(before.st_mode))
        return fail(ELOOP, QStringLiteral("it is a symbolic link, which is not followed here"));
    if (!S_ISREG(before.st_mode))
        return fail(S_ISDIR(before.st_mode) ? EISDIR : EINVAL,
                    QStringLiteral("it is %1, not a regular file").arg(kindOf(before.st_mode)));
    if (before.st_size > maxBytes)
        return fail(EFBIG, QStringLiteral("it is larger than %1 bytes").arg(maxBytes));
    const int flags = O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | (links == Links::Refuse ? O_NOFOLLOW : 0);
    int fd = -1;
    do {
        fd = ::open(encoded.constData(), flags);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return fail(errno, errorText(errno));
    struct stat after {};
    if (::fstat(fd, &after) != 0 || !S_ISREG(after.st_mode) || after.st_dev != before.st_dev ||
        after.st_ino != before.st_ino) {
        ::close(fd);
        return fail(EINVAL, QStringLiteral("it was replaced while being opened"));
    }
    return fd;
}

FileSystem::ReadResult FileSystem::readOpenFile(int fd, qint64 maxBytes) {
    QByteArray bytes;
    constexpr qint64 chunk = 64 * 1024;
    for (;;) {
        // One byte beyond the limit tells a file that grew past it (or lied about its size).
        const qint64 room = maxBytes + 1 - bytes.size();
        if (room <= 0)
            return failedRead(EFBIG, QStringLiteral("it is larger than %1 bytes").arg(maxBytes));
        const qsizetype at = bytes.size();
        bytes.resize(at + qsizetype(std::min(room, chunk)));
        const ssize_t got = ::read(fd, bytes.data() + at, size_t(bytes.size() - at));
        if (got < 0) {
            const int number = errno;
            bytes.resize(at);
            if (number == EINTR)
                continue;
            return failedRead(number, errorText(number));
        }
        bytes.resize(at + got);
        if (got == 0)
            return {std::move(bytes), 0, {}};
    }
}

FileSystem::ReadResult FileSystem::readFile(const QString& path, qint64 maxBytes, Links links) {
    ReadResult result;
    const int fd = openRegularFile(path, maxBytes, links, &result.errorNumber, &result.error);
    if (fd < 0)
        return result;
    result = readOpenFile(fd, maxBytes);
    ::close(fd);
    return result;
}

bool FileSystem::entryExists(const QString& path) {
    struct stat status {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0;
}

bool FileSystem::isLink(const QString& path) {
    struct stat status {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 && S_ISLNK(status.st_mode);
}

bool FileSystem::isRealFolder(const QString& path) {
    struct stat status {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool FileSystem::removeItem(const QString& path) {
    const QByteArray encoded = QFile::encodeName(path);
    struct stat status {};
    if (::lstat(encoded.constData(), &status) != 0)
        return errno == ENOENT;
    if (!S_ISDIR(status.st_mode))
        return ::unlink(encoded.constData()) == 0;
    // A process that is quitting may still put a last file in the folder while it is emptied
    // (a helper saving its tile); the folder is emptied again then, a few times at most.
    for (int attempt = 0; attempt < kRemovalAttempts; ++attempt) {
        const int fd = ::open(encoded.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            return errno == ENOENT;
        if (!emptyFolder(fd))
            continue;
        if (::rmdir(encoded.constData()) == 0 || errno == ENOENT)
            return true;
        if (errno != ENOTEMPTY && errno != EEXIST)
            return false;
    }
    return false;
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

bool FileSystem::writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error, Links links) {
    const QByteArray encoded = QFile::encodeName(path);
    QByteArray target = encoded;
    if (links == Links::Follow) {
        const std::optional<QByteArray> destination = linkDestination(encoded);
        if (!destination) {
            if (error)
                *error = errorText(ELOOP);
            return false;
        }
        target = *destination;
    }
    // The system's reason, and where a link led when it is not the path the caller knows.
    const auto fail = [&](int number) {
        if (error)
            *error =
                target == encoded
                    ? errorText(number)
                    : QStringLiteral("%1 (the link leads to %2)").arg(errorText(number), QFile::decodeName(target));
        return false;
    };
    struct stat existing {};
    const bool replacing = ::lstat(target.constData(), &existing) == 0;
    if (replacing && S_ISDIR(existing.st_mode))
        return fail(EISDIR);
    // A file its owner made read-only is not to be changed, even though the folder would let a
    // new file take its place.
    if (replacing && S_ISREG(existing.st_mode) && ::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0)
        return fail(errno);

    QByteArray temporary;
    const int fd = createBeside(target, &temporary);
    if (fd < 0)
        return fail(errno);
    bool written = writeAll(fd, bytes);
    if (written && replacing && S_ISREG(existing.st_mode))
        written = ::fchmod(fd, existing.st_mode & 07777) == 0;
    if (written)
        written = ::fdatasync(fd) == 0;
    const int writeError = errno;
    // close() is where some file systems report that the data could not be kept.
    const bool closed = ::close(fd) == 0;
    const int closeError = errno;
    if (!written || !closed || ::rename(temporary.constData(), target.constData()) != 0) {
        const int number = !written ? writeError : !closed ? closeError : errno;
        ::unlink(temporary.constData());
        return fail(number);
    }
    return true;
}
