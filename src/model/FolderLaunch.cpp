#include "FolderLaunch.h"

#include "platform/Workspace.h"

#include <QSet>

#include <memory>

namespace {

// One application to open, and how it went.
struct Launch {
    QString path;
    QString name;
    bool failed = false;
};

struct Progress {
    QList<Launch> launches;
    qsizetype remaining = 0;
    std::function<void(const QStringList&)> done;

    // Opens finish in any order; the failures are told once, in folder order.
    void finish() const {
        QStringList failed;
        for (const Launch& launch : launches) {
            if (launch.failed)
                failed.append(launch.name);
        }
        if (done)
            done(failed);
    }
};

} // namespace

void FolderLaunch::launchAll(const AppFolder& folder, Workspace& workspace,
                             std::function<void(const QStringList& failed)> done) {
    const auto progress = std::make_shared<Progress>();
    progress->done = std::move(done);
    QSet<QString> seen;
    for (const AppItem& app : folder.apps) {
        const QString path = app.path();
        if (!path.isEmpty() && seen.contains(path))
            continue;
        seen.insert(path);
        // Not a local file: nothing on this machine to open.
        progress->launches.append({path, app.name, path.isEmpty()});
        if (!path.isEmpty())
            ++progress->remaining;
    }
    if (progress->remaining == 0) {
        progress->finish();
        return;
    }
    Workspace::OpenConfiguration configuration;
    configuration.activates = true;
    for (qsizetype i = 0; i < progress->launches.size(); ++i) {
        if (progress->launches.at(i).path.isEmpty())
            continue;
        workspace.openApplication(progress->launches.at(i).path, configuration,
                                  [progress, i](const std::optional<QString>& error) {
                                      if (error)
                                          progress->launches[i].failed = true;
                                      if (--progress->remaining == 0)
                                          progress->finish();
                                  });
    }
}
