#include "LinuxApplication.h"
#include "platform/Protocol.h"

#include <QApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusReply>
#include <QSocketNotifier>
#include <QUuid>
#include <QWidget>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <unistd.h>

namespace {

const QString& kObjectPath = Protocol::Bus::applicationPath;
const QString& kInterface = Protocol::Bus::applicationInterface;

// The object at kObjectPath, written by hand for its two methods; the checked-in
// docs/dbus/app.trellin.Application.xml describes it.
class ApplicationAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "app.trellin.Application")
public:
    explicit ApplicationAdaptor(LinuxApplication* application)
        : QDBusAbstractAdaptor(application)
        , m_application(application) {}

public Q_SLOTS:
    void Reopen() {
        // Queued, so the caller has its reply before the reopen does any work.
        QMetaObject::invokeMethod(
            m_application, [application = m_application] { Q_EMIT application->reopenRequested(); },
            Qt::QueuedConnection);
    }

    void ShowPopup() {
        QMetaObject::invokeMethod(
            m_application, [application = m_application] { Q_EMIT application->popupRequested(); },
            Qt::QueuedConnection);
    }

private:
    LinuxApplication* m_application;
};

// Signal handlers may only do async-signal-safe things: write a byte, read on the main thread.
int s_signalPipe[2] = {-1, -1};
LinuxApplication* s_signalOwner = nullptr;
struct sigaction s_previousTerm;
struct sigaction s_previousInt;

void onTerminationSignal(int) {
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(s_signalPipe[1], &byte, 1);
    errno = savedErrno;
}

// Empty when the bus rejects the request itself (an invalid name, a lost connection).
std::optional<QDBusConnectionInterface::RegisterServiceReply> requestName(QDBusConnection& bus, const QString& name,
                                                                          bool replaceOwner) {
    // Always allow replacement, so that a later launch asked to replace this one can.
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply = bus.interface()->registerService(
        name,
        replaceOwner ? QDBusConnectionInterface::ReplaceExistingService : QDBusConnectionInterface::DontQueueService,
        QDBusConnectionInterface::AllowReplacement);
    if (!reply.isValid()) {
        qWarning("Cannot request the bus name %s: %s", qUtf8Printable(name), qUtf8Printable(reply.error().message()));
        return std::nullopt;
    }
    return reply.value();
}

} // namespace

LinuxApplication::LinuxApplication(const QDBusConnection& bus, QObject* parent)
    : QObject(parent)
    , m_bus(bus) {
    new ApplicationAdaptor(this);
}

LinuxApplication::~LinuxApplication() {
    if (s_signalOwner == this) {
        // Nothing would read the pipe any more: a signal would be swallowed, not end the process.
        ::sigaction(SIGTERM, &s_previousTerm, nullptr);
        ::sigaction(SIGINT, &s_previousInt, nullptr);
        s_signalOwner = nullptr;
    }
}

void LinuxApplication::setActivationPolicy(ActivationPolicy policy) {
    if (policy == m_activationPolicy)
        return;
    m_activationPolicy = policy;
    Q_EMIT activationPolicyChanged();
}

void LinuxApplication::orderOutFirstWindow() {
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (window->isVisible()) {
            window->hide();
            return;
        }
    }
}

Application::WindowId LinuxApplication::keyWindow() const {
    QWidget* active = QApplication::activeWindow();
    if (!active)
        return 0;
    for (auto it = m_windows.begin(); it != m_windows.end();) {
        if (it.value().isNull())
            it = m_windows.erase(it);
        else if (it.value() == active)
            return it.key();
        else
            ++it;
    }
    m_windows.insert(++m_lastWindowId, active);
    return m_lastWindowId;
}

void LinuxApplication::orderFrontIfVisible(WindowId window) {
    const auto found = m_windows.constFind(window);
    if (found == m_windows.cend())
        return;
    QWidget* widget = found.value();
    if (!widget) {
        m_windows.erase(found);
        return;
    }
    if (!widget->isVisible())
        return;
    widget->raise();
    widget->activateWindow();
}

bool LinuxApplication::exportApplicationObject() {
    if (!m_objectExported)
        m_objectExported = m_bus.registerObject(kObjectPath, this, QDBusConnection::ExportAdaptors);
    return m_objectExported;
}

InstanceClaim LinuxApplication::claimInstance(const QString& serviceName, bool replaceRunning) {
    if (!m_bus.isConnected())
        return InstanceClaim::NoBus;
    // Before the name: whoever finds the name owned must find the object too.
    if (!exportApplicationObject()) {
        qWarning("Cannot export %s on the bus: %s", qUtf8Printable(kObjectPath),
                 qUtf8Printable(m_bus.lastError().message()));
        return InstanceClaim::NoBus;
    }

    const auto requested = requestName(m_bus, serviceName, replaceRunning);
    if (!requested)
        return InstanceClaim::NoBus;
    if (*requested == QDBusConnectionInterface::ServiceRegistered)
        return InstanceClaim::Claimed;

    const QDBusMessage reply =
        m_bus.call(QDBusMessage::createMethodCall(serviceName, kObjectPath, kInterface, QStringLiteral("Reopen")),
                   QDBus::Block, LinuxApplication::reopenTimeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return InstanceClaim::HandedOver;
    // No answer in time: the owner is alive but busy; the call waits in its queue.
    if (reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.NoReply") ||
        reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.Timeout"))
        return InstanceClaim::HandedOver;

    // The owner quit in between or is not a working instance: exiting now would make this
    // launch do nothing at all, so take the name from it.
    qWarning("The running instance of %s did not take the reopen (%s); taking its place", qUtf8Printable(serviceName),
             qUtf8Printable(reply.errorMessage()));
    return requestName(m_bus, serviceName, true) == QDBusConnectionInterface::ServiceRegistered ? InstanceClaim::Claimed
                                                                                                : InstanceClaim::NoBus;
}

QString LinuxApplication::instanceServiceName(const QString& bundleIdentifier, const QString& groupID) {
    if (groupID.isEmpty())
        return bundleIdentifier;
    // Only the plain 8-4-4-4-12 form makes a helper, as it does for the run mode.
    const QUuid id = QUuid::fromString(groupID);
    if (id.toString(QUuid::WithoutBraces).compare(groupID, Qt::CaseInsensitive) != 0)
        return bundleIdentifier;
    return helperServiceNamespace(bundleIdentifier) + QLatin1String(".G") + id.toString(QUuid::Id128).toUpper();
}

void LinuxApplication::requestPopup(const QDBusConnection& bus, const QString& serviceName,
                                    std::function<void(const std::optional<QString>& error)> done) {
    QDBusMessage call = QDBusMessage::createMethodCall(serviceName, kObjectPath, kInterface, showPopupMethod);
    // A helper that is not running is not started by the bus: only its bundle's launch makes one.
    call.setAutoStartService(false);
    QDBusConnection connection = bus;
    auto* watcher = new QDBusPendingCallWatcher(connection.asyncCall(call, reopenTimeoutMs));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher, [watcher, done = std::move(done)] {
        watcher->deleteLater();
        if (!watcher->isError())
            return done(std::nullopt);
        const QDBusError error = watcher->error();
        if (error.type() == QDBusError::ServiceUnknown)
            return done(QStringLiteral("the folder's Dock tile is not running"));
        done(QStringLiteral("the folder's Dock tile did not open its popup: ") + error.message());
    });
}

QString LinuxApplication::helperServiceNamespace(const QString& bundleIdentifier) {
    return bundleIdentifier + QLatin1String(".Helper");
}

void LinuxApplication::terminate() {
    QCoreApplication::exit(0);
}

void LinuxApplication::installTerminationSignalHandlers() {
    if (s_signalOwner)
        return;
    if (s_signalPipe[0] < 0 && ::pipe2(s_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        qWarning("Cannot create the termination signal pipe: %s", std::strerror(errno));
        return;
    }

    if (!m_terminationNotifier) {
        m_terminationNotifier = new QSocketNotifier(s_signalPipe[0], QSocketNotifier::Read, this);
        connect(m_terminationNotifier, &QSocketNotifier::activated, this, [this] {
            char buffer[16];
            while (::read(s_signalPipe[0], buffer, sizeof buffer) > 0) {
            }
            terminate();
        });
    }

    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, &s_previousTerm);
    ::sigaction(SIGINT, &action, &s_previousInt);
    s_signalOwner = this;
}

#include "LinuxApplication.moc"
