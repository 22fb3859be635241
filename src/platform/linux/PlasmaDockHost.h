#pragma once

#include "platform/DockHost.h"
#include "platform/FileEvents.h"
#include "platform/FileStamp.h"

#include <QDBusConnection>
#include <QRect>

#include <memory>

class KWinCursor;
class QDBusServiceWatcher;
class QJsonValue;
class Scheduler;
class WorkItem;

// KDE Plasma's task managers (the icon-only one and the plain one), in every panel: pins are their
// launchers, read and written live through the shell's scripting interface. The file where the
// shell keeps them is never written here: a running shell would not read it, and would overwrite
// it. That file is only watched, since the shell saves it after the user unpins something or moves
// a panel. Where
// the click was comes from KWin (KWinCursor), the edge from the panel holding the launcher.
class PlasmaDockHost final : public DockHost {
    Q_OBJECT
public:
    // `entriesDirectory`: where the folders' launchers are written; `configDirectory`: the user's
    // ($XDG_CONFIG_HOME), where the shell saves its panels.
    PlasmaDockHost(QDBusConnection bus, QString entriesDirectory, QString configDirectory, FileEvents& fileEvents,
                   Scheduler& scheduler, QObject* parent = nullptr);
    // With inotify and the main loop of its own, in the user's configuration folder.
    static std::unique_ptr<PlasmaDockHost> create(QDBusConnection bus, QString entriesDirectory);
    ~PlasmaDockHost() override;

    QString id() const override;
    QString displayName() const override;
    bool isRunning() const override;
    // None also while the shell has no task manager in any panel (as while it is still loading
    // them): nothing could be pinned there, and an empty list would read as everything unpinned.
    std::optional<QStringList> pinnedEntries() const override;
    std::optional<QString> pin(const QString& entryId) override;
    std::optional<QString> unpin(const QString& entryId) override;
    // The panel where folders are pinned: its edge, and an icon as thick as the panel less its margins.
    std::optional<Geometry> geometry() const override;
    // The pointer at the click, as KWin tells it, on a panel that holds the launcher.
    std::optional<TilePosition> tilePosition(const QString& entryId) const override;

    // The launcher Trellin writes for the entry; empty for an id that is no plain file name.
    QString launcherOf(const QString& entryId) const;
    // The entry id of a launcher the shell lists: "applications:" ones by their id; a file's by its
    // name, unless a launcher of that name is in the launchers' folder and the file is elsewhere,
    // where it stays the launcher it is; anything else stays as it is.
    QString entryIdOf(const QString& launcher) const;

    // How long a question to the shell or KWin may take before it counts as unanswered.
    void setTimeout(int milliseconds);

protected:
    // The shell's files are watched only once someone listens for changes: a helper, which only
    // asks where its tile is, keeps no watch (and no inotify instance) of its own.
    void connectNotify(const QMetaMethod& signal) override;

private:
    struct TaskManager {
        int widget = 0;
        QStringList launchers;
    };
    struct Panel {
        int id = 0;
        int screen = 0;
        std::optional<Edge> edge;
        int thickness = 0;
        QRect screenRect;
        QList<TaskManager> taskManagers;
    };
    using Panels = QList<Panel>;

    static Panels panelsFrom(const QJsonValue& answer);
    std::optional<Panels> readPanels() const;
    std::optional<QJsonValue> evaluate(const QString& script, QString* failure = nullptr) const;
    std::optional<QString> why(const QString& entryId) const;
    std::optional<QStringList> entriesOf(const Panels& panels) const;
    static std::optional<Geometry> geometryOf(const Panels& panels);
    // Where a pin goes: the first task manager of a panel on the primary screen, else the first.
    static std::optional<std::pair<const Panel*, const TaskManager*>> pinTarget(const Panels& panels);
    bool holds(const Panel& panel, const QString& entryId) const;

    void ownerChanged(const QString& newOwner);
    void watchApplets();
    void appletsMayHaveChanged();
    void checkApplets();
    QList<FileStamp> shellFileStamps() const;

    QDBusConnection m_bus;
    QString m_entriesDirectory;
    QString m_configDirectory;
    FileEvents& m_fileEvents;
    Scheduler& m_scheduler;
    std::unique_ptr<FileEvents> m_ownFileEvents;
    std::unique_ptr<Scheduler> m_ownScheduler;
    QDBusServiceWatcher* m_watcher;
    KWinCursor* m_cursor;
    int m_timeout;
    bool m_running = false;
    std::unique_ptr<FileEvents::Watch> m_watch;
    std::shared_ptr<WorkItem> m_pendingCheck;
    QList<FileStamp> m_shellFileStamps;
    // The pins and geometry as the watch last saw them, to tell the shell's saves that change them.
    std::optional<std::pair<std::optional<QStringList>, std::optional<Geometry>>> m_watched;
};
