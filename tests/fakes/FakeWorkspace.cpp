#include "FakeWorkspace.h"

void FakeWorkspace::openApplication(const QString& bundlePath, const OpenConfiguration& configuration,
                                    OpenCompletion completion) {
    opened.append((QStringList{bundlePath} + configuration.arguments).join(u' '));
    m_pending.append({bundlePath, std::move(completion)});
}

bool FakeWorkspace::terminate(const RunningApplication& application) {
    terminated.append(application.bundlePath);
    running.removeIf([&](const RunningApplication& r) { return r.processIdentifier == application.processIdentifier; });
    return true;
}

void FakeWorkspace::finishOpens(const std::optional<QString>& error) {
    const QList<PendingOpen> pending = std::exchange(m_pending, {});
    for (const PendingOpen& open : pending) {
        if (!error)
            running.append({m_nextPid++, open.bundlePath});
        open.completion(error);
    }
}
