#include "RunningTrellin.h"
#include "platform/Protocol.h"

#include "platform/linux/DBusFolderCommands.h"
#include "platform/linux/LinuxApplication.h"

#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

namespace {

constexpr int kPollMs = 50;

// Errors of a main application that owns its name but has not yet exported the folders.
bool notReadyYet(const QDBusMessage& reply) {
    const QString name = reply.errorName();
    return name == QLatin1String("org.freedesktop.DBus.Error.UnknownMethod") ||
           name == QLatin1String("org.freedesktop.DBus.Error.UnknownInterface") ||
           name == QLatin1String("org.freedesktop.DBus.Error.UnknownObject");
}

} // namespace

RunningTrellin::RunningTrellin(const QDBusConnection& bus, QString serviceName, QString executable)
    : m_bus(bus)
    , m_serviceName(std::move(serviceName))
    , m_executable(std::move(executable)) {}

QString RunningTrellin::ensureRunning() {
    if (!m_bus.isConnected())
        return QStringLiteral("no session bus: ") + m_bus.lastError().message();
    QDBusConnectionInterface* bus = m_bus.interface();
    if (bus->isServiceRegistered(m_serviceName))
        return {};
    if (!QFileInfo(m_executable).isExecutable())
        return QStringLiteral("Trellin is not running and cannot be started: no program at ") + m_executable;
    // Without its window: a script asked, not the user; the next launch of their own shows it.
    const QStringList arguments{QLatin1Char('-') + LinuxApplication::launchWithoutWindowKey, QStringLiteral("YES")};
    // Its log is not this command's output: a script reads only the answer.
    QProcess process;
    process.setProgram(m_executable);
    process.setArguments(arguments);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.setStandardInputFile(QProcess::nullDevice());
    if (!process.startDetached())
        return QStringLiteral("Trellin is not running and could not be started from ") + m_executable;
    m_started = true;
    const QDeadlineTimer deadline(startTimeoutMs);
    while (!bus->isServiceRegistered(m_serviceName)) {
        if (deadline.hasExpired())
            return QStringLiteral("Trellin was started but did not answer within %1 seconds")
                .arg(startTimeoutMs / 1000);
        QThread::msleep(kPollMs);
    }
    return {};
}

QDBusMessage RunningTrellin::send(const QString& method, const QVariantList& arguments, int timeoutMs) {
    QDBusMessage message = QDBusMessage::createMethodCall(m_serviceName, Protocol::Bus::applicationPath,
                                                          Protocol::Bus::foldersInterface, method);
    message.setArguments(arguments);
    // Starting is ours to do, without the window; the bus must not start anything itself.
    message.setAutoStartService(false);
    return m_bus.call(message, QDBus::Block, timeoutMs);
}

QDBusMessage RunningTrellin::call(const QString& method, const QVariantList& arguments, int timeoutMs) {
    const QString failure = ensureRunning();
    if (!failure.isEmpty())
        return QDBusMessage::createError(Protocol::Bus::foldersInterface + QLatin1String(".Error.Failed"), failure);
    // A main application exports its folders once it has read them, a moment after it took its name.
    const QDeadlineTimer readyBy(m_started ? startTimeoutMs : settlingTimeoutMs);
    QDBusMessage reply = send(method, arguments, timeoutMs);
    while (notReadyYet(reply) && !readyBy.hasExpired()) {
        QThread::msleep(kPollMs);
        reply = send(method, arguments, timeoutMs);
    }
    if (reply.type() == QDBusMessage::ErrorMessage) {
        const QString name = reply.errorName();
        if (notReadyYet(reply))
            return QDBusMessage::createError(name, QStringLiteral("the running Trellin does not take folder commands "
                                                                  "(an older version?): ") +
                                                       reply.errorMessage());
        if (name == QLatin1String("org.freedesktop.DBus.Error.NoReply") ||
            name == QLatin1String("org.freedesktop.DBus.Error.Timeout"))
            return QDBusMessage::createError(
                name, QStringLiteral("Trellin did not answer within %1 seconds").arg(timeoutMs / 1000));
        if (name == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown") ||
            name == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner"))
            return QDBusMessage::createError(name, QStringLiteral("Trellin quit before it answered"));
    }
    return reply;
}
