#pragma once

#include "platform/Workspace.h"

#include <QStringList>

// A workspace whose running applications the test sets. Opening records the call; the test
// finishes pending opens with success or an error, as the platform would later.
class FakeWorkspace final : public Workspace {
public:
    void openApplication(const QString& bundlePath, const OpenConfiguration& configuration,
                         OpenCompletion completion) override;
    QList<RunningApplication> runningApplications() const override { return running; }
    bool terminate(const RunningApplication& application) override;

    // Completes every pending open; a successful one starts running.
    void finishOpens(const std::optional<QString>& error = std::nullopt);

    QList<RunningApplication> running;
    QStringList opened;     // "<bundle path> <arguments…>"
    QStringList terminated; // bundle paths, in order

private:
    struct PendingOpen {
        QString bundlePath;
        OpenCompletion completion;
    };
    QList<PendingOpen> m_pending;
    qint64 m_nextPid = 1000;
};
