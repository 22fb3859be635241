#pragma once

#include <QByteArray>
#include <QString>

// File-system housekeeping that never follows a symbolic link: a link is an entry of its own,
// copied as its own text and removed as itself, so nothing outside the tree being copied or
// removed is ever read, changed or deleted through one.
namespace FileSystem {

// Removes a file, a link or a folder with everything in it. True when nothing is left at `path`
// (also when nothing was there).
bool removeItem(const QString& path);

// Copies the folder `from` to `to` (created with its parents): folders and files with their
// permissions, links with the target text they hold, relative or absolute. On failure `error`
// names what could not be copied and the partial copy is left for the caller to remove.
bool copyTree(const QString& from, const QString& to, QString* error);

// Replaces the file at `path` with `bytes` in one step: readers see the old file or the new one,
// never part of either. Written unbuffered, so that a short write (a full disk) fails here rather
// than in a buffer flushed after the check; on failure the old file stays as it was and `error`
// (when given) says why.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// Replaces the file at `target` with a hard link to the file `source`, in one step, where the
// file system allows it; otherwise `target` stays as it was. True when the two are now one file.
bool replaceWithLink(const QString& source, const QString& target);

} // namespace FileSystem
