#pragma once

#include "platform/PropertyList.h"
#include "platform/linux/LinuxWorkspace.h"

#include "PrivateBus.h"
#include "TestFiles.h"

#include <QDBusConnection>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>

// An end-to-end test's desktop: a temporary home, a private bus, and the programs it starts there
// as real processes, which see that home, that bus and the X server.
class DesktopTestCase : public QObject {
protected:
    QString path(const QString& relative) const { return m_home->filePath(relative); }
    QString launchLog() const { return path(QStringLiteral("launches.log")); }

    // A user past the first run, with a folder and the menu-bar item on.
    void prepareMenuBarUser() {
        const QJsonObject folder{
            {"id", "0D0C0B0A-0000-4000-8000-000000000001"}, {"name", "Work"}, {"apps", QJsonArray{}}};
        QVERIFY(writeFile(path("share/Trellin/folders.json"), QJsonDocument(QJsonArray{folder}).toJson()));
        QVERIFY(QDir().mkpath(path("Library/Preferences")));
        QVERIFY(PropertyList::writeFileAtomically(path("Library/Preferences/app.trellin.Trellin.plist"),
                                                  QVariantMap{{"hasCompletedOnboarding", true}, {"showMenuBar", true}},
                                                  PropertyList::Format::Xml));
    }

    void setUpDesktop() {
        m_home = std::make_unique<QTemporaryDir>();
        m_bus = std::make_unique<PrivateBus>();
        QVERIFY(m_bus->start());
        m_connection = m_bus->connect(QStringLiteral("e2e"));
    }

    // Every program started, then whatever still runs from a bundle in the home, is ended.
    void tearDownDesktop() {
        for (QProcess* process : std::as_const(m_processes)) {
            process->terminate();
            if (!process->waitForFinished(5000))
                process->kill();
            delete process;
        }
        m_processes.clear();
        for (const Workspace::RunningApplication& application : LinuxWorkspace().runningApplications())
            if (application.bundlePath.startsWith(m_home->path()))
                ::kill(pid_t(application.processIdentifier), SIGKILL);
        m_connection = QDBusConnection(QString{});
        QDBusConnection::disconnectFromBus(QStringLiteral("e2e"));
        m_bus.reset();
    }

    // The process stays this object's: it is ended and deleted with the desktop.
    QProcess* startProgram(const QString& program, const QStringList& arguments = {}) {
        auto* process = new QProcess;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), m_home->path());
        environment.insert(QStringLiteral("XDG_DATA_HOME"), path(QStringLiteral("share")));
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_bus->address());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.insert(QStringLiteral("TRELLIN_FIXTURE_LOG"), launchLog());
        process->setProcessEnvironment(environment);
        process->setProcessChannelMode(QProcess::ForwardedChannels);
        process->start(program, arguments);
        m_processes.append(process);
        return process;
    }

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<PrivateBus> m_bus;
    QDBusConnection m_connection{QString()};

private:
    QList<QProcess*> m_processes;
};
