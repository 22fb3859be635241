#pragma once

#include "platform/DesktopEntries.h"
#include "platform/Workspace.h"

#include <QDBusConnection>
#include <QObject>
#include <QSet>

// Opens a bundle by running its executable in a session of its own, detached from us, or a desktop
// entry through the desktop's rules, and tells which bundles are running from the process table
// (<proc>/<pid>/exe).
class LinuxWorkspace : public QObject, public Workspace {
    Q_OBJECT

public:
    // Without `desktopEntries`, a desktop entry cannot be opened.
    explicit LinuxWorkspace(QString procRoot = QStringLiteral("/proc"), const DesktopEntries* desktopEntries = nullptr,
                            QObject* parent = nullptr);

    // The completion runs from the event loop, never from inside this call, and not at all once
    // this object is gone.
    void openApplication(const QString& bundlePath, const OpenConfiguration& configuration,
                         OpenCompletion completion) override;
    // Ordered by process id; processes we may not look at are left out.
    QList<RunningApplication> runningApplications() const override;
    // Where running applications are sent reopens; the session bus unless set.
    void setBus(const QDBusConnection& bus) { m_bus = bus; }
    // SIGTERM. Refused when the process id cannot name a single process, or when the process no
    // longer runs from the application's bundle (its id has been reused).
    bool terminate(const RunningApplication& application) override;

private:
    std::optional<QString> open(const QString& bundlePath, const OpenConfiguration& configuration) const;
    std::optional<QString> executableOf(qint64 processIdentifier) const;
    // A running application asked to open comes to the front, as a click on its Dock tile brings
    // it: one that takes reopens on the bus gets one, any other has its windows raised.
    void bringToFront(const QString& bundlePath, const QSet<qint64>& processes) const;
    bool sendReopen(const QString& bundlePath, const QSet<qint64>& processes) const;

    QString m_procRoot;
    const DesktopEntries* m_desktopEntries;
    std::optional<QDBusConnection> m_bus;
};
