#pragma once

#include "PrivateBus.h"
#include "TestFiles.h"
#include "platform/linux/LinuxWorkspace.h"

#include <QDBusConnectionInterface>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>

// The built programs as a user starts them, in a throw-away home and on a bus of their own. All
// of them end with this object, the helpers they started included.
class TrellinProcesses {
public:
    static inline const QString mainService = QStringLiteral("app.trellin.Trellin");

    TrellinProcesses() {
        if (m_bus.start())
            m_connection = m_bus.connect(QStringLiteral("test"));
    }

    ~TrellinProcesses() {
        for (QProcess* process : std::as_const(m_processes)) {
            process->kill();
            process->waitForFinished();
            delete process;
        }
        // Helpers are detached processes of their own: end any a failed test left behind.
        for (const Workspace::RunningApplication& application : LinuxWorkspace().runningApplications())
            if (application.bundlePath.startsWith(m_home.path()))
                ::kill(pid_t(application.processIdentifier), SIGKILL);
    }

    TrellinProcesses(const TrellinProcesses&) = delete;
    TrellinProcesses& operator=(const TrellinProcesses&) = delete;

    bool isReady() const { return m_home.isValid() && m_connection.isConnected(); }
    QString homePath(const QString& relative) const { return m_home.filePath(relative); }
    // A path in the program's Application Support folder.
    QString supportPath(const QString& relative) const { return m_home.filePath("share/Trellin/" + relative); }
    QDBusConnection& connection() { return m_connection; }

    // `executable` with the home, the bus and the offscreen platform; output and errors merged
    // unless asked otherwise.
    QProcess* start(const QString& executable, const QStringList& arguments = {},
                    QProcess::ProcessChannelMode channels = QProcess::MergedChannels) {
        auto* process = new QProcess;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", m_home.path());
        environment.insert("XDG_DATA_HOME", m_home.filePath("share"));
        environment.insert("DBUS_SESSION_BUS_ADDRESS", m_bus.address());
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        process->setProcessEnvironment(environment);
        process->setProcessChannelMode(channels);
        process->start(executable, arguments);
        m_processes.append(process);
        return process;
    }
    QProcess* startApplication(const QString& bundle, const QStringList& arguments = {}) {
        return start(bundle + "/Contents/MacOS/Trellin", arguments);
    }

    bool isRegistered(const QString& service) { return m_connection.interface()->isServiceRegistered(service).value(); }
    bool waitForService(const QString& name, int milliseconds = 15000) {
        return QTest::qWaitFor([&] { return isRegistered(name); }, milliseconds);
    }
    // Waits until everything the process wrote so far holds `text`.
    bool waitForOutput(QProcess* process, const QByteArray& text, int milliseconds = 15000) {
        QByteArray& output = m_output[process];
        return QTest::qWaitFor([&] { return (output += process->readAll()).contains(text); }, milliseconds);
    }
    QByteArray output(QProcess* process) { return m_output[process] += process->readAll(); }

    // SIGTERM, as a session's end sends it: true when the process quit normally with status 0.
    bool terminate(QProcess* process, int milliseconds = 10000) {
        ::kill(pid_t(process->processId()), SIGTERM);
        return process->waitForFinished(milliseconds) && process->exitStatus() == QProcess::NormalExit &&
               process->exitCode() == 0;
    }

private:
    QTemporaryDir m_home;
    PrivateBus m_bus;
    QDBusConnection m_connection{QString()};
    QList<QProcess*> m_processes;
    QHash<QProcess*, QByteArray> m_output;
};
