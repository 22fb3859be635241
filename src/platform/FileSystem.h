#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// File-system housekeeping that never follows a symbolic link: a link is an entry of its own,
// copied as its own text and removed as itself, so nothing outside the tree being copied or
// removed is ever read, changed or deleted through one.
namespace FileSystem {

// What to do with a symbolic link found at the path itself.
enum class Links {
    // The link is an entry like any other: a read refuses it, a write replaces it. For the files
    // in Trellin's own folders, which no one has a reason to link elsewhere.
    Refuse,
    // The link is followed: for a user's own file, which the user may keep elsewhere on purpose.
    Follow,
};

// Sizes beyond which a file of a kind is not what it claims to be.
inline constexpr qint64 kMarkerLimit = 64;
inline constexpr qint64 kPropertyListLimit = 16 * 1024 * 1024;
inline constexpr qint64 kDocumentLimit = 64 * 1024 * 1024;

struct ReadResult {
    std::optional<QByteArray> bytes;
    // errno of the failure: ENOENT when nothing is there, ELOOP for a refused link, EFTYPE-like
    // failures (a FIFO, a device, a folder) as EINVAL, a file over the limit as EFBIG.
    int errorNumber = 0;
    QString error; // why, in words, for a message; empty on success
};

// Reads a whole regular file of at most `maxBytes`. Nothing that is not a regular file is opened
// for reading, and the open never waits (a FIFO swapped in at the last moment is refused, not
// waited on), so reading cannot hang or fill memory, whatever stands at `path`.
ReadResult readFile(const QString& path, qint64 maxBytes, Links links = Links::Follow);

// Opens `path` for reading as `readFile` does and returns the descriptor (close-on-exec), or -1
// with `errorNumber` and `error` set. For callers that need the open file's own status.
int openRegularFile(const QString& path, qint64 maxBytes, Links links, int* errorNumber, QString* error);
// Reads an open descriptor to its end, refusing more than `maxBytes`; the caller keeps the fd.
ReadResult readOpenFile(int fd, qint64 maxBytes);

// True when something (a file, a folder, a link, even a dangling one) is at `path`.
bool entryExists(const QString& path);
// True when `path` itself is a symbolic link.
bool isLink(const QString& path);
// True when `path` is a folder and not a link to one.
bool isRealFolder(const QString& path);

// Removes a file, a link or a folder with everything in it. True when nothing is left at `path`
// (also when nothing was there).
bool removeItem(const QString& path);

// Copies the folder `from` to `to` (created with its parents): folders and files with their
// permissions, links with the target text they hold, relative or absolute. On failure `error`
// names what could not be copied and the partial copy is left for the caller to remove.
bool copyTree(const QString& from, const QString& to, QString* error);

// Replaces the file at `path` with `bytes` in one step: readers see the old file or the new one,
// never part of either. Written unbuffered and synced, so that a short write (a full disk) fails
// here rather than in a buffer flushed after the check; on failure the old file stays as it was
// and `error` (when given) gives the system's reason. A new file takes the usual permissions, a
// replaced one keeps its own. With `Links::Refuse` a link at `path` is replaced as an entry and
// what it points to is left alone; with `Links::Follow` the file it leads to is replaced.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr,
                         Links links = Links::Refuse);

// Replaces the file at `target` with a hard link to the file `source`, in one step, where the
// file system allows it; otherwise `target` stays as it was. True when the two are now one file.
bool replaceWithLink(const QString& source, const QString& target);

// The system's words for an errno value.
QString errorText(int errorNumber);

} // namespace FileSystem
