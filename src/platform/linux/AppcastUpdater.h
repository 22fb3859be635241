#pragma once

#include "platform/Bundle.h"
#include "platform/UpdatePresenter.h"
#include "platform/Updater.h"

#include <QObject>
#include <QProcess>
#include <QString>

#include <memory>

class Scheduler;
class UpdatePresenter;
class UserDefaults;
class WorkItem;
struct UpdateCheckResult;

// The updater: reads the update feed named by "SUFeedURL" (the user defaults first, so
// "-SUFeedURL <url>" on the command line points it elsewhere, then the main bundle's Info.plist)
// through the bundle's trellin-update-check tool, run in the background, and hands the outcome to
// the presenter. The launch check presents only a newer version; a check the user asked for
// presents every outcome. A check asked for while one runs joins it. Nothing is downloaded or
// installed. Main thread only.
class AppcastUpdater final : public QObject, public Updater {
    Q_OBJECT
public:
    struct Dependencies {
        UserDefaults& defaults;
        Bundle mainBundle;
        Scheduler& scheduler;
        UpdatePresenter& presenter;
        // Empty: the bundle's Contents/MacOS/trellin-update-check.
        QString toolPath = {};
    };

    // How long the tool may take (it gives up on the feed itself after 15 seconds).
    static constexpr double toolTimeoutSeconds = 30;

    explicit AppcastUpdater(Dependencies dependencies);
    ~AppcastUpdater() override;

    void start() override;
    void checkForUpdates() override;

    bool isChecking() const { return m_process != nullptr; }
    // The feed address a check would read now; empty when none is named.
    QString feedURL() const;

    // The result the tool printed; a failure when it printed nothing usable.
    static UpdateCheckResult parseToolOutput(const QByteArray& output);

private:
    void check(bool userInitiated);
    void finish(const UpdateCheckResult& result);
    void processFinished(int exitCode, QProcess::ExitStatus status);
    // Ends the running tool's part: the process is released (deleted later) and its timeout cancelled.
    QProcess* takeProcess();
    using Problem = UpdateCheckResult::Problem;
    UpdateCheckResult failure(Problem problem, const QString& reason, const QString& detail = {}) const;

    Dependencies m_dependencies;
    bool m_started = false;
    bool m_userInitiated = false;
    bool m_timedOut = false;
    std::unique_ptr<QProcess> m_process;
    std::shared_ptr<WorkItem> m_timeout;
};
