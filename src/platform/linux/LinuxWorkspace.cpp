#include "platform/linux/LinuxWorkspace.h"
#include "platform/Protocol.h"

#include "platform/Bundle.h"
#include "platform/linux/LinuxApplication.h"
#include "platform/linux/X11Windows.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <limits>
#include <optional>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QString errorText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// Only async-signal-safe calls from here on: the parent has other threads, whose locks the
// forked copy may hold.
[[noreturn]] void reportAndExit(int pipe, int error) {
    const char* bytes = reinterpret_cast<const char*>(&error);
    std::size_t left = sizeof error;
    while (left > 0) {
        const ssize_t written = ::write(pipe, bytes, left);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            break;
        bytes += written;
        left -= std::size_t(written);
    }
    ::_exit(127);
}

// The application must not inherit what we block or ignore, nor descriptors that somebody
// opened without close-on-exec.
void resetInheritedState() {
    sigset_t none;
    ::sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    for (int signal = 1; signal < NSIG; ++signal) {
        struct sigaction action {};
        action.sa_handler = SIG_DFL;
        ::sigaction(signal, &action, nullptr); // fails harmlessly for SIGKILL, SIGSTOP and reserved ones
    }
    ::close_range(3, UINT_MAX, CLOSE_RANGE_CLOEXEC);
}

// Starts the executable as the leader of a new session whose parent is not us (fork twice, the
// middle process exits at once and is reaped here), so it outlives us and leaves no zombie behind.
// The error pipe is close-on-exec: end of file means the exec happened, four bytes are its errno.
std::optional<QString> spawnDetached(const QString& executable, const QStringList& arguments) {
    QList<QByteArray> strings{QFile::encodeName(executable)};
    for (const QString& argument : arguments)
        strings << argument.toLocal8Bit();
    std::vector<char*> argv;
    for (QByteArray& string : strings)
        argv.push_back(string.data());
    argv.push_back(nullptr);

    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0)
        return errorText(errno);
    const pid_t middle = ::fork();
    if (middle < 0) {
        const int error = errno;
        ::close(pipe[0]);
        ::close(pipe[1]);
        return errorText(error);
    }
    if (middle == 0) {
        ::close(pipe[0]);
        const pid_t child = ::fork();
        if (child < 0)
            reportAndExit(pipe[1], errno);
        if (child > 0)
            ::_exit(0);
        ::setsid();
        resetInheritedState();
        ::execv(argv[0], argv.data());
        reportAndExit(pipe[1], errno);
    }

    ::close(pipe[1]);
    while (::waitpid(middle, nullptr, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    std::size_t received = 0;
    while (received < sizeof error) {
        const ssize_t n = ::read(pipe[0], reinterpret_cast<char*>(&error) + received, sizeof error - received);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        received += std::size_t(n);
    }
    ::close(pipe[0]);
    if (received == 0)
        return std::nullopt;
    return received == sizeof error ? errorText(error) : QStringLiteral("the process ended before it could start");
}

QString canonicalBundlePath(const QString& bundlePath) {
    const QString canonical = QFileInfo(bundlePath).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(bundlePath) : canonical;
}

} // namespace

LinuxWorkspace::LinuxWorkspace(QString procRoot, const DesktopEntries* desktopEntries, QObject* parent)
    : QObject(parent)
    , m_procRoot(std::move(procRoot))
    , m_desktopEntries(desktopEntries) {}

void LinuxWorkspace::openApplication(const QString& bundlePath, const OpenConfiguration& configuration,
                                     OpenCompletion completion) {
    const std::optional<QString> error = open(bundlePath, configuration);
    QTimer::singleShot(0, this, [completion = std::move(completion), error] {
        if (completion)
            completion(error);
    });
}

std::optional<QString> LinuxWorkspace::open(const QString& bundlePath, const OpenConfiguration& configuration) const {
    // A desktop entry's application says for itself whether it runs once or again; its arguments
    // are the files or URIs its field codes take.
    if (DesktopEntries::isEntryPath(bundlePath) && QFileInfo(bundlePath).isFile()) {
        if (!m_desktopEntries)
            return QStringLiteral("Desktop entries cannot be opened here: \"%1\".").arg(bundlePath);
        return m_desktopEntries->launch(bundlePath, configuration.arguments);
    }
    if (!QFileInfo(bundlePath).isDir())
        return QStringLiteral("There is no application bundle at \"%1\".").arg(bundlePath);
    const Bundle bundle(bundlePath);
    if (!QFileInfo::exists(bundle.infoPlistPath()))
        return QStringLiteral("The application \"%1\" has no Info.plist.").arg(bundlePath);
    const QString executable = bundle.executablePath();
    if (executable.isEmpty())
        return QStringLiteral("The Info.plist of \"%1\" names no usable executable (CFBundleExecutable).")
            .arg(bundlePath);
    if (!QFileInfo(executable).isFile())
        return QStringLiteral("The executable \"%1\" does not exist.").arg(executable);
    // An argument cannot carry a NUL through exec; it would arrive cut short without a word.
    for (const QString& argument : configuration.arguments) {
        if (argument.contains(QChar(0)))
            return QStringLiteral("An argument for \"%1\" contains a NUL character.").arg(bundlePath);
    }

    if (!configuration.createsNewApplicationInstance) {
        const QString path = canonicalBundlePath(bundlePath);
        QSet<qint64> processes;
        for (const RunningApplication& application : runningApplications()) {
            if (application.bundlePath == path)
                processes.insert(application.processIdentifier);
        }
        if (!processes.isEmpty()) {
            if (configuration.activates)
                bringToFront(path, processes);
            return std::nullopt;
        }
    }

    if (const std::optional<QString> error = spawnDetached(executable, configuration.arguments))
        return QStringLiteral("Could not start \"%1\": %2").arg(executable, *error);
    return std::nullopt;
}

void LinuxWorkspace::bringToFront(const QString& bundlePath, const QSet<qint64>& processes) const {
    if (sendReopen(bundlePath, processes))
        return;
    // An application with no window has nothing to show: it runs, and that is what was asked.
    for (const quintptr window : X11Windows::windowsOf(processes))
        X11Windows::activate(window);
}

bool LinuxWorkspace::sendReopen(const QString& bundlePath, const QSet<qint64>& processes) const {
    QDBusConnection bus = m_bus.value_or(QDBusConnection::sessionBus());
    if (!bus.isConnected() || !bus.interface())
        return false;
    const Bundle bundle(bundlePath);
    const QString identifier = bundle.identifier();
    if (identifier.isEmpty())
        return false;
    const QVariant groupID = bundle.infoValue(Protocol::groupIDKey);
    const QString service = LinuxApplication::instanceServiceName(
        identifier, groupID.typeId() == QMetaType::QString ? groupID.toString() : QString());
    // Only the bundle's own process is told: anyone may own a name on the bus.
    const QDBusReply<uint> owner = bus.interface()->servicePid(service);
    if (!owner.isValid() || !processes.contains(qint64(owner.value())))
        return false;
    return bus.send(QDBusMessage::createMethodCall(service, Protocol::Bus::applicationPath,
                                                   Protocol::Bus::applicationInterface, QStringLiteral("Reopen")));
}

std::optional<QString> LinuxWorkspace::executableOf(qint64 processIdentifier) const {
    const QByteArray link = QFile::encodeName(m_procRoot + u'/' + QString::number(processIdentifier) + u"/exe");
    char target[PATH_MAX];
    const ssize_t length = ::readlink(link.constData(), target, sizeof target);
    if (length <= 0 || std::size_t(length) >= sizeof target)
        return std::nullopt;
    QString path = QFile::decodeName(QByteArray(target, length));
    // The file was replaced or removed while running, as when a bundle is rebuilt: the process
    // still belongs to the bundle at that path.
    const QLatin1String deleted(" (deleted)");
    if (path.endsWith(deleted))
        path.chop(deleted.size());
    return path;
}

QList<Workspace::RunningApplication> LinuxWorkspace::runningApplications() const {
    QList<qint64> pids;
    const QStringList entries = QDir(m_procRoot).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool isNumber = false;
        const qint64 pid = entry.toLongLong(&isNumber);
        if (isNumber && pid > 0)
            pids << pid;
    }
    std::sort(pids.begin(), pids.end());

    QList<RunningApplication> running;
    for (const qint64 pid : pids) {
        if (const std::optional<QString> executable = executableOf(pid))
            running << RunningApplication{pid, Bundle::enclosingExecutable(*executable).path()};
    }
    return running;
}

bool LinuxWorkspace::terminate(const RunningApplication& application) {
    // 0 and negative ids would signal whole process groups, our own among them.
    const qint64 pid = application.processIdentifier;
    if (pid <= 0 || pid > std::numeric_limits<pid_t>::max())
        return false;
    if (!application.bundlePath.isEmpty()) {
        const std::optional<QString> executable = executableOf(pid);
        if (!executable || Bundle::enclosingExecutable(*executable).path() != application.bundlePath)
            return false;
    }
    return ::kill(pid_t(pid), SIGTERM) == 0;
}
