#pragma once

#include "platform/FileEvents.h"

// File events from inotify, read on the event loop through a socket notifier.
//
// A watch on a file holds it open by path only (O_PATH: no read or write access), so that it
// keeps seeing the same object, and maps inotify's events onto the vnode ones:
//   IN_MODIFY                          -> Write, and Extend when the file is larger than before
//   IN_ATTRIB, link count now lower    -> Delete (an unlink, or a rename() of another file over
//                                         it: the atomic replace), else Attrib
//   IN_MOVE_SELF                       -> Rename
//   IN_DELETE_SELF, IN_IGNORED         -> Delete (also when its file system goes away)
//   IN_Q_OVERFLOW                      -> Write (events were lost: something changed)
// Out of descriptors or memory, or past the user's limit of inotify instances or watches
// (/proc/sys/fs/inotify), a watch fails as Exhausted rather than CannotOpen.
// A watch on a directory reports its entries being created, deleted or moved (IN_CREATE,
// IN_DELETE, IN_MOVED_*) as Write, and not the entries' own contents or attributes, as a
// directory's vnode does; it does not hold the directory open, since its removal is reported
// (IN_DELETE_SELF) only once nothing holds it.
class InotifyFileEvents final : public FileEvents {
public:
    std::unique_ptr<Watch> watch(const QString& path, Events mask, Handler handler,
                                 Failure* failure = nullptr) override;
};
