#pragma once

#include "platform/DesktopEntries.h"
#include "platform/Workspace.h"

#include <QObject>

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
    // SIGTERM. Refused when the process id cannot name a single process, or when the process no
    // longer runs from the application's bundle (its id has been reused).
    bool terminate(const RunningApplication& application) override;

private:
    std::optional<QString> open(const QString& bundlePath, const OpenConfiguration& configuration) const;
    std::optional<QString> executableOf(qint64 processIdentifier) const;

    QString m_procRoot;
    const DesktopEntries* m_desktopEntries;
};
