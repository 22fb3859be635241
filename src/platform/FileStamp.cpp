#include "FileStamp.h"

#include <QFile>

#include <sys/stat.h>

namespace {

FileStamp stampOf(const struct stat& status) {
#if defined(__APPLE__)
    const struct timespec& modified = status.st_mtimespec;
#else
    const struct timespec& modified = status.st_mtim;
#endif
    return {.exists = true,
            .size = qint64(status.st_size),
            .modifiedNanoseconds = qint64(modified.tv_sec) * 1'000'000'000 + modified.tv_nsec,
            .device = quint64(status.st_dev),
            .inode = quint64(status.st_ino)};
}

} // namespace

FileStamp FileStamp::of(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return {};
    return stampOf(status);
}

FileStamp FileStamp::ofOpenFile(int descriptor) {
    struct stat status {};
    if (::fstat(descriptor, &status) != 0)
        return {};
    return stampOf(status);
}
