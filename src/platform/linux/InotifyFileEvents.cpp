#include "InotifyFileEvents.h"

#include <QFile>
#include <QSocketNotifier>

#include <cerrno>

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class InotifyWatch final : public FileEvents::Watch {
public:
    InotifyWatch(int objectFd, int inotifyFd, const struct stat& status, FileEvents::Events mask,
                 FileEvents::Handler handler)
        : m_objectFd(objectFd)
        , m_inotifyFd(inotifyFd)
        , m_links(status.st_nlink)
        , m_size(status.st_size)
        , m_mask(mask)
        , m_handler(std::move(handler))
        , m_notifier(inotifyFd, QSocketNotifier::Read) {
        QObject::connect(&m_notifier, &QSocketNotifier::activated, &m_notifier, [this] { readEvents(); });
    }

    ~InotifyWatch() override {
        ::close(m_inotifyFd);
        if (m_objectFd >= 0)
            ::close(m_objectFd);
    }

private:
    void readEvents() {
        FileEvents::Events fired;
        alignas(struct inotify_event) char buffer[4096];
        for (;;) {
            const ssize_t length = ::read(m_inotifyFd, buffer, sizeof buffer);
            if (length < 0 && errno == EINTR)
                continue;
            if (length <= 0)
                break;
            for (ssize_t offset = 0; offset < length;) {
                const auto* event = reinterpret_cast<const struct inotify_event*>(buffer + offset);
                fired |= translate(*event);
                offset += ssize_t(sizeof(struct inotify_event)) + event->len;
            }
        }
        if (m_gone)
            m_notifier.setEnabled(false); // the kernel dropped the watch: nothing more will come
        fired &= m_mask;
        if (!fired)
            return;
        // The handler may drop this watch.
        const FileEvents::Handler handler = m_handler;
        handler(fired);
    }

    FileEvents::Events translate(const struct inotify_event& event) {
        if (event.mask & IN_Q_OVERFLOW)
            return FileEvents::Write;
        if (event.mask & (IN_DELETE_SELF | IN_IGNORED)) {
            m_gone = m_gone || (event.mask & IN_IGNORED);
            return FileEvents::Delete;
        }
        if (event.mask & IN_MOVE_SELF)
            return FileEvents::Rename;
        const bool aboutAnEntry = event.len > 0;
        if (aboutAnEntry)
            return (event.mask & (IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO)) ? FileEvents::Write
                                                                                        : FileEvents::Events();
        struct stat status {};
        const bool known = m_objectFd >= 0 && ::fstat(m_objectFd, &status) == 0;
        FileEvents::Events result;
        if (event.mask & IN_MODIFY) {
            result |= FileEvents::Write;
            if (known && status.st_size > m_size)
                result |= FileEvents::Extend;
        }
        if (event.mask & IN_ATTRIB) {
            const bool deleted = known && status.st_nlink < m_links;
            result |= deleted ? FileEvents::Delete : FileEvents::Attrib;
        }
        if (known) {
            m_links = status.st_nlink;
            m_size = status.st_size;
        }
        return result;
    }

    const int m_objectFd;
    const int m_inotifyFd;
    nlink_t m_links;
    off_t m_size;
    const FileEvents::Events m_mask;
    const FileEvents::Handler m_handler;
    QSocketNotifier m_notifier;
    bool m_gone = false;
};

} // namespace

std::unique_ptr<FileEvents::Watch> InotifyFileEvents::watch(const QString& path, Events mask, Handler handler,
                                                            Failure* failure) {
    // Called right after the failing call, before anything else can change errno.
    const auto failed = [failure] {
        const bool exhausted = errno == EMFILE || errno == ENFILE || errno == ENOMEM || errno == ENOSPC;
        if (failure)
            *failure = exhausted ? Failure::Exhausted : Failure::CannotOpen;
    };
    int objectFd = ::open(QFile::encodeName(path).constData(), O_PATH | O_CLOEXEC);
    if (objectFd < 0) {
        failed();
        return nullptr;
    }
    struct stat status {};
    if (::fstat(objectFd, &status) != 0) {
        failed();
        ::close(objectFd);
        return nullptr;
    }
    const int inotifyFd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (inotifyFd < 0) {
        failed();
        ::close(objectFd);
        return nullptr;
    }
    const uint32_t entryEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_EXCL_UNLINK;
    const uint32_t events =
        IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF | (S_ISDIR(status.st_mode) ? entryEvents : IN_MODIFY);
    // Through the open descriptor, so that the watch is on the object that was opened even if
    // the path changed in between.
    const QByteArray opened = "/proc/self/fd/" + QByteArray::number(objectFd);
    if (::inotify_add_watch(inotifyFd, opened.constData(), events) < 0) {
        failed();
        ::close(inotifyFd);
        ::close(objectFd);
        return nullptr;
    }
    // Held open, a directory would not be reported deleted until it was closed: a directory's
    // removal does not change its attributes, so its deletion is known only from the kernel
    // letting it go.
    if (S_ISDIR(status.st_mode)) {
        ::close(objectFd);
        objectFd = -1;
    }
    return std::make_unique<InotifyWatch>(objectFd, inotifyFd, status, mask, std::move(handler));
}
