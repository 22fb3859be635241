// The other side of bench/notification-storm.sh, as plain bus clients:
//   post <name> <count> <seconds>
//       sends <count> distributed notifications <name> evenly over <seconds>, and returns once the
//       bus has routed them all.
//   probe <bus name>...
//       connects, then asks each bus name at once for something only its main thread can answer
//       (an introspection of /app/trellin/Application) and prints "answer <bus name> <ms>" as each
//       answer comes (-1: none within 120 s).
//   listen <bus name>
//       the yardstick: a bare Qt process that takes the bus name, exports an object at
//       /app/trellin/Application, observes every distributed notification with an empty handler
//       and quits on SIGTERM through its event loop, as Trellin does.
//   quit <pid>...
//       sends each process SIGTERM at once and prints "quit <pid> <ms>" as each ends (-1 for one
//       still there after 10 s, which is then killed).
//   writes <folder> <file name>...
//       prints "<ms since the epoch> <file name>" for each time one of these files in the folder
//       is replaced (renamed onto) or written and closed, until killed.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QSocketNotifier>
#include <QThread>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <sys/inotify.h>
#include <unistd.h>

namespace {

const QString kPath = QStringLiteral("/app/trellin/DistributedNotifications");
const QString kInterface = QStringLiteral("app.trellin.DistributedNotifications");
const QString kMember = QStringLiteral("Notification");
const QString kApplicationPath = QStringLiteral("/app/trellin/Application");
constexpr int kAnswerTimeoutMs = 120000;

int post(const QStringList& arguments) {
    if (arguments.size() < 3)
        return 2;
    const QString name = arguments.at(0);
    const int count = arguments.at(1).toInt();
    const double seconds = arguments.at(2).toDouble();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return 1;

    QElapsedTimer clock;
    clock.start();
    for (int sent = 0; sent < count; ++sent) {
        // Paced by the millisecond: what is due by now goes out now.
        const qint64 due = qint64(double(sent) * seconds * 1000.0 / count);
        while (clock.elapsed() < due)
            QThread::usleep(200);
        QDBusMessage message = QDBusMessage::createSignal(kPath, kInterface, kMember);
        message << name << QString() << QVariant::fromValue(QVariantMap());
        bus.send(message);
    }
    const qint64 sentMs = clock.elapsed();
    // Messages of one connection are routed in order: once the bus answers this, it has passed
    // every notification on to the processes that observe them.
    bus.call(QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
                                            QStringLiteral("/org/freedesktop/DBus"),
                                            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("GetId")),
             QDBus::Block, kAnswerTimeoutMs);
    std::printf("figure storm_sent %d\nfigure storm_send_ms %lld\nfigure storm_routed_ms %lld\n", count, sentMs,
                clock.elapsed());
    std::fflush(stdout);
    return 0;
}

int probe(const QStringList& probed) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || probed.isEmpty())
        return 1;
    QElapsedTimer sinceAsked;
    sinceAsked.start();
    int waiting = int(probed.size());
    for (const QString& service : probed) {
        const QDBusMessage call = QDBusMessage::createMethodCall(service, kApplicationPath,
                                                                 QStringLiteral("org.freedesktop.DBus.Introspectable"),
                                                                 QStringLiteral("Introspect"));
        auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, kAnswerTimeoutMs));
        QObject::connect(watcher, &QDBusPendingCallWatcher::finished, [&, service](QDBusPendingCallWatcher* done) {
            std::printf("answer %s %lld\n", qPrintable(service), done->isError() ? -1LL : sinceAsked.elapsed());
            std::fflush(stdout);
            done->deleteLater();
            if (--waiting == 0)
                QCoreApplication::quit();
        });
    }
    return QCoreApplication::exec();
}

int s_signalPipe[2] = {-1, -1};

void onTerminationSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(s_signalPipe[1], &byte, 1);
}

class Listener final : public QObject {
    Q_OBJECT
public:
    int received = 0;

public Q_SLOTS:
    void deliver(const QDBusMessage& message) {
        m_last = message.arguments().value(0).toString();
        ++received;
    }

private:
    QString m_last;
};

int listen(const QStringList& arguments) {
    if (arguments.isEmpty())
        return 2;
    QDBusConnection bus = QDBusConnection::sessionBus();
    Listener listener;
    if (!bus.registerObject(kApplicationPath, &listener, QDBusConnection::ExportAllSlots) ||
        !bus.interface()->registerService(arguments.first()).isValid() ||
        !bus.connect(QString(), kPath, kInterface, kMember, QStringLiteral("ssa{sv}"), &listener,
                     SLOT(deliver(QDBusMessage))))
        return 1;
    if (::pipe2(s_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return 1;
    QSocketNotifier quitRequests(s_signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&quitRequests, &QSocketNotifier::activated, [] { QCoreApplication::quit(); });
    std::signal(SIGTERM, onTerminationSignal);
    const int status = QCoreApplication::exec();
    std::fprintf(stderr, "listener %s received %d\n", qPrintable(arguments.first()), listener.received);
    return status;
}

// Gone, or a zombie its parent has not waited for yet.
bool hasEnded(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray line = stat.readAll();
    const qsizetype state = line.lastIndexOf(')') + 2;
    return state <= 1 || state >= line.size() || line.at(state) == 'Z';
}

int quit(const QStringList& arguments) {
    QList<qint64> waiting;
    for (const QString& argument : arguments)
        waiting.append(argument.toLongLong());
    QElapsedTimer clock;
    clock.start();
    for (const qint64 pid : waiting)
        ::kill(pid_t(pid), SIGTERM);
    while (!waiting.isEmpty() && clock.elapsed() < 10000) {
        for (qsizetype i = waiting.size() - 1; i >= 0; --i) {
            if (hasEnded(waiting.at(i))) {
                std::printf("quit %lld %lld\n", waiting.at(i), clock.elapsed());
                waiting.removeAt(i);
            }
        }
        QThread::msleep(5);
    }
    for (const qint64 pid : waiting) {
        std::printf("quit %lld -1\n", pid);
        ::kill(pid_t(pid), SIGKILL);
    }
    std::fflush(stdout);
    return 0;
}

int writes(const QStringList& arguments) {
    if (arguments.size() < 2)
        return 2;
    const int fd = ::inotify_init1(IN_CLOEXEC);
    if (fd < 0 ||
        ::inotify_add_watch(fd, QFile::encodeName(arguments.first()).constData(), IN_MOVED_TO | IN_CLOSE_WRITE) < 0)
        return 1;
    const QStringList names = arguments.mid(1);
    alignas(inotify_event) char buffer[16 * 1024];
    for (;;) {
        const ssize_t length = ::read(fd, buffer, sizeof buffer);
        if (length <= 0)
            return 1;
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        for (ssize_t offset = 0; offset < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
            const QString name = event->len ? QFile::decodeName(event->name) : QString();
            if (names.contains(name)) {
                std::printf("%lld %s\n", now, qPrintable(name));
                std::fflush(stdout);
            }
            offset += ssize_t(sizeof(inotify_event) + event->len);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    const QString mode = arguments.value(0);
    if (mode == QLatin1String("post"))
        return post(arguments.mid(1));
    if (mode == QLatin1String("probe"))
        return probe(arguments.mid(1));
    if (mode == QLatin1String("listen"))
        return listen(arguments.mid(1));
    if (mode == QLatin1String("quit"))
        return quit(arguments.mid(1));
    if (mode == QLatin1String("writes"))
        return writes(arguments.mid(1));
    std::fprintf(stderr, "usage: %s post|probe|listen|quit|writes ...\n", argv[0]);
    return 2;
}

#include "main.moc"
