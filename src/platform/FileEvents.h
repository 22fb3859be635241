#pragma once

#include <QFlags>
#include <QString>

#include <functional>
#include <memory>

// Kernel events on one file-system object, as a vnode event source reports them: the object is
// opened for events only, and its events are reported until the watch is dropped, wherever the
// object moves. A directory's entries being created, removed or moved count as a write to it.
class FileEvents {
public:
    enum Event {
        Write = 0x1,  // contents written; for a directory, its entries changed
        Delete = 0x2, // the object was deleted (its last name removed or replaced)
        Rename = 0x4, // the object was moved to another name
        Attrib = 0x8, // its attributes changed
        Extend = 0x10 // a file grew
    };
    Q_DECLARE_FLAGS(Events, Event)

    // Stops its watch when dropped; nothing is reported after that.
    class Watch {
    public:
        virtual ~Watch() = default;
    };

    // Called from the event loop with the events of `mask` that fired since the last call.
    using Handler = std::function<void(Events fired)>;

    virtual ~FileEvents() = default;

    // Why `watch` gave none.
    enum class Failure {
        CannotOpen, // nothing is there, or it cannot be opened
        Exhausted,  // the system gives this process or user no more watches; the object may be fine
    };

    // Starts watching the object now at `path` (a link is followed); none when it cannot be
    // opened, as when nothing is there, and then `failure` (when given) says why.
    virtual std::unique_ptr<Watch> watch(const QString& path, Events mask, Handler handler,
                                         Failure* failure = nullptr) = 0;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(FileEvents::Events)
