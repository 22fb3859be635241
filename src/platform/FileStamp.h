#pragma once

#include <QString>
#include <QtGlobal>

// How a file-system object looks from outside, to tell that it changed without reading it: new
// contents change the size or the modification time, a replacement the inode, a removal
// `exists`.
struct FileStamp {
    bool exists = false;
    qint64 size = 0;
    qint64 modifiedNanoseconds = 0;
    quint64 device = 0;
    quint64 inode = 0;

    // The object now at `path`, following a link as a watch does.
    static FileStamp of(const QString& path);
    // The file open as `descriptor`: what was read from it, whatever the path holds by now.
    static FileStamp ofOpenFile(int descriptor);

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};
