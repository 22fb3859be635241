#include "PlistUserDefaults.h"

#include "platform/Console.h"
#include "platform/FileSystem.h"
#include "platform/PropertyList.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace {

const QString logPrefix = QStringLiteral("[UserDefaults] ");

// A file changed again within the file system's timestamp granularity after we read it could
// look unchanged (same size, same mtime, a recycled inode), so such a recent version is read again.
constexpr qint64 racyWindowNs = 2'000'000'000;

qint64 nowNs() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

bool pathExists(const QString& path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 || errno != ENOENT;
}

// Holds an exclusive flock on a lock file for as long as it lives.
class LockFile {
public:
    explicit LockFile(const QString& path) {
        // Never through a link: the lock would create or take a file wherever the link points.
        m_fd =
            ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
        if (m_fd < 0) {
            m_error = QStringLiteral("cannot open the lock file %1: %2").arg(path, FileSystem::errorText(errno));
            return;
        }
        int result = 0;
        do {
            result = ::flock(m_fd, LOCK_EX);
        } while (result != 0 && errno == EINTR);
        if (result != 0) {
            m_error = QStringLiteral("cannot lock %1: %2").arg(path, FileSystem::errorText(errno));
            ::close(m_fd);
            m_fd = -1;
        }
    }
    ~LockFile() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    LockFile(const LockFile&) = delete;
    LockFile& operator=(const LockFile&) = delete;

    bool isLocked() const { return m_fd >= 0; }
    const QString& error() const { return m_error; }

private:
    int m_fd = -1;
    QString m_error;
};

QVariantMap argumentDomain(const QStringList& arguments) {
    QVariantMap domain;
    for (qsizetype index = 0; index + 1 < arguments.size(); ++index) {
        const QString& argument = arguments.at(index);
        if (argument.size() > 1 && argument.startsWith(u'-') && !argument.startsWith(QLatin1String("--"))) {
            domain.insert(argument.mid(1), arguments.at(index + 1));
            ++index;
        }
    }
    return domain;
}

} // namespace

PlistUserDefaults::PlistUserDefaults(QString preferencesDirectory, QString domainName, QStringList arguments)
    : m_directory(std::move(preferencesDirectory))
    , m_path(m_directory + u'/' + domainName + QStringLiteral(".plist"))
    , m_arguments(argumentDomain(arguments)) {}

QString PlistUserDefaults::standardPreferencesDirectory() {
    return QDir::homePath() + QStringLiteral("/Library/Preferences");
}

PlistUserDefaults::Snapshot PlistUserDefaults::readSnapshot(const QString& path) {
    Snapshot snapshot;
    int openError = 0;
    QString why;
    // Only a regular file of a sane size is read, and never by waiting: a FIFO or a device here
    // would otherwise hang every process that starts.
    const int fd =
        FileSystem::openRegularFile(path, FileSystem::kPropertyListLimit, FileSystem::Links::Follow, &openError, &why);
    if (fd < 0) {
        if (openError == ENOENT || openError == ENOTDIR)
            return snapshot;
        snapshot.state = FileState::Unopenable;
        snapshot.stamp = FileStamp::of(path);
        snapshot.error = QStringLiteral("cannot open the file: %1").arg(why);
        return snapshot;
    }
    // The stamp comes from the open file, so it always matches the bytes read.
    snapshot.stamp = FileStamp::ofOpenFile(fd);
    const FileSystem::ReadResult read = FileSystem::readOpenFile(fd, FileSystem::kPropertyListLimit);
    ::close(fd);
    if (!read.bytes) {
        snapshot.state = FileState::Unopenable;
        snapshot.error = QStringLiteral("cannot read the file: %1").arg(read.error);
        return snapshot;
    }
    const QByteArray& bytes = *read.bytes;
    QString error;
    const std::optional<PropertyList::Document> document = PropertyList::parse(bytes, &error);
    if (!document) {
        snapshot.state = FileState::Unparsable;
        snapshot.error = error;
    } else if (document->root.typeId() != QMetaType::QVariantMap) {
        snapshot.state = FileState::Unparsable;
        snapshot.error = QStringLiteral("the property list is not a dictionary");
    } else {
        snapshot.state = FileState::Readable;
        snapshot.values = document->root.toMap();
    }
    return snapshot;
}

void PlistUserDefaults::adopt(const Snapshot& snapshot) const {
    m_values = snapshot.values;
    m_state = snapshot.state;
    m_stamp = snapshot.stamp;
    m_readAtNs = nowNs();
    m_loaded = true;
    const bool unreadable = snapshot.state == FileState::Unparsable || snapshot.state == FileState::Unopenable;
    // Say it once per version of the file, not on every read.
    if (unreadable && !(m_reported && m_reportedStamp == snapshot.stamp)) {
        Console::printLine(logPrefix + QStringLiteral("Failed to read %1: %2").arg(m_path, snapshot.error));
        m_reported = true;
        m_reportedStamp = snapshot.stamp;
    }
}

void PlistUserDefaults::refresh() const {
    if (m_loaded && m_stamp.modifiedNanoseconds < m_readAtNs - racyWindowNs && FileStamp::of(m_path) == m_stamp)
        return;
    adopt(readSnapshot(m_path));
}

QVariant PlistUserDefaults::object(const QString& key) const {
    const auto argument = m_arguments.constFind(key);
    if (argument != m_arguments.cend())
        return *argument;
    refresh();
    return m_values.value(key);
}

void PlistUserDefaults::setObject(const QString& key, const QVariant& value) {
    change(key, value);
}

void PlistUserDefaults::removeObject(const QString& key) {
    change(key, QVariant());
}

void PlistUserDefaults::change(const QString& key, const QVariant& value) {
    const auto saveFailed = [](const QString& reason) {
        Console::printLine(logPrefix + QStringLiteral("Failed to save preferences: ") + reason);
    };
    const bool removing = !value.isValid();
    QString error;
    // Refuse a value that cannot be stored before anything on disk is touched.
    std::optional<QByteArray> written;
    if (!removing) {
        written = PropertyList::serialize(QVariantMap{{key, value}}, PropertyList::Format::Xml, &error);
        if (!written) {
            saveFailed(error);
            return;
        }
    }
    // Many processes share this file and set the same values at every start; a write that
    // changes nothing would only wake every one of them.
    refresh();
    if (alreadyStored(m_state, m_values, key, written))
        return;
    if (!QDir().mkpath(m_directory)) {
        saveFailed(QStringLiteral("cannot create the folder %1").arg(m_directory));
        return;
    }

    const LockFile lock(m_path + QStringLiteral(".lock"));
    if (!lock.isLocked()) {
        saveFailed(lock.error());
        return;
    }
    // Other processes may have written since we last looked; change only our key in what is there now.
    const Snapshot current = readSnapshot(m_path);
    adopt(current);
    if (alreadyStored(current.state, current.values, key, written))
        return;
    switch (current.state) {
    case FileState::Missing:
    case FileState::Readable:
        break;
    case FileState::Unopenable:
        // Its contents are unknown; replacing it could throw away the user's settings.
        saveFailed(current.error);
        return;
    case FileState::Unparsable:
        if (removing)
            return; // Reads already see no value; leave the file as it is.
        if (!setAsideUnreadableFile(&error)) {
            saveFailed(error);
            return;
        }
        break;
    }

    QVariantMap values = current.values;
    if (removing)
        values.remove(key);
    else
        values.insert(key, value);
    // The preferences file is the user's: one kept elsewhere through a link stays there.
    if (!PropertyList::writeFileAtomically(m_path, values, PropertyList::Format::Xml, &error,
                                           FileSystem::Links::Follow)) {
        saveFailed(error);
        adopt(readSnapshot(m_path)); // Keep showing what is really on disk.
        return;
    }
    m_values = values;
    m_stamp = FileStamp::of(m_path);
    m_readAtNs = nowNs();
}

bool PlistUserDefaults::alreadyStored(FileState state, const QVariantMap& values, const QString& key,
                                      const std::optional<QByteArray>& written) {
    if (state != FileState::Missing && state != FileState::Readable)
        return false;
    const auto stored = values.constFind(key);
    if (!written)
        return stored == values.cend();
    // Compared as written, so an int and the 64-bit integer read back count as the same value.
    return stored != values.cend() &&
           PropertyList::serialize(QVariantMap{{key, *stored}}, PropertyList::Format::Xml) == written;
}

bool PlistUserDefaults::setAsideUnreadableFile(QString* error) const {
    const QString base = m_path + QStringLiteral(".unreadable-") +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString target = base;
    for (int counter = 2; pathExists(target); ++counter) {
        if (counter > 1000) {
            *error = QStringLiteral("cannot find a free name to move %1 aside").arg(m_path);
            return false;
        }
        target = base + u'-' + QString::number(counter);
    }
    if (::rename(QFile::encodeName(m_path).constData(), QFile::encodeName(target).constData()) != 0) {
        *error =
            QStringLiteral("cannot move the unreadable file %1 aside: %2").arg(m_path, FileSystem::errorText(errno));
        return false;
    }
    Console::printLine(logPrefix + QStringLiteral("Kept the unreadable preferences file as ") + target);
    return true;
}

std::optional<QVariantMap> PlistUserDefaults::persistentDomain(const QString& domainName) const {
    // A domain is a file name in the preferences folder, never a path.
    if (domainName.isEmpty() || domainName.contains(u'/') || domainName.startsWith(u'.'))
        return std::nullopt;
    const std::optional<PropertyList::Document> document =
        PropertyList::readFile(m_directory + u'/' + domainName + QStringLiteral(".plist"));
    if (!document || document->root.typeId() != QMetaType::QVariantMap)
        return std::nullopt;
    return document->root.toMap();
}
