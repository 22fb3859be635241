#pragma once

#include "FolderDockTiles.h"

#include <QImage>
#include <QObject>
#include <QUuid>

#include <functional>
#include <memory>

class DockHost;
class FolderLaunchers;
class LocalNotificationCenter;
class Scheduler;
class WorkItem;

// Folders in the user's own dock: each stands there as its launcher, pinned. The launcher starts
// or reaches the folder's helper and shows its drawn tile; being pinned is being in the Dock.
class HostDockTiles final : public QObject, public FolderDockTiles {
    Q_OBJECT
public:
    struct Services {
        DockHost& host;
        FolderLaunchers& launchers;
        Scheduler& scheduler;
        // Where the tiles' look is said to change.
        LocalNotificationCenter& notifications;
        // The folder's helper bundle, when it is built.
        std::function<std::optional<QString>(const QUuid& folderID)> helperBundlePath;
        // The folder's tile as the Dock shows it.
        std::function<QImage(const AppFolder& folder)> picture;
        // The folders as they stand now.
        std::function<QList<AppFolder>()> folders;
    };

    // Pictures follow a style being dragged about only once it rests.
    static constexpr double pictureRefreshDelay = 0.5;

    explicit HostDockTiles(Services services, QObject* parent = nullptr);
    ~HostDockTiles() override;

    std::optional<bool> isFolderKept(const AppFolder& folder) const override;
    bool pinIsWholeState() const override { return true; }
    void keepFolderTileInDock(const AppFolder& folder) override;
    void removeFolderTilesFromDock(const AppFolder& folder) override;
    void moveFolderTiles(const AppFolder& folder, const QString& formerHelperPath) override;
    void syncFolderTiles(const QList<AppFolder>& folders) override;

    // The tiles' look changed (as it is said to on `notifications`): every launcher gets its new
    // picture a moment later.
    void schedulePictureRefresh();

private:
    // Writes the folder's launcher as it should be now; false when it could not be.
    bool publish(const AppFolder& folder);
    // Pins the folder's launcher; while the dock does not run, the pin waits for it.
    void pin(const QUuid& folderID);
    void pinWaiting();
    void report(const QString& what, const QUuid& folderID, const QString& why) const;

    Services m_services;
    std::shared_ptr<WorkItem> m_pictureRefresh;
    // Folders to pin once the dock runs.
    QList<QUuid> m_waitingPins;
};
