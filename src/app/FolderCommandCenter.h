#pragma once

#include "model/AppFolder.h"
#include "model/FolderStore.h"
#include "platform/FolderCommands.h"

#include <functional>
#include <optional>
#include <variant>

class Clock;
class DistributedNotifications;
class FolderExchange;
class Workspace;

// The folder commands of the command line, run on the main application's store: a folder is
// named by its id (in any letter case) or its exact name, an application as AppResolver reads it.
class FolderCommandCenter final : public FolderCommands {
public:
    struct Services {
        FolderStore& store;
        Clock& clock;
        Workspace& workspace;
        DistributedNotifications& distributedNotifications;
        // APP arguments, documents and the desktop's app folders, as the main window reads them.
        FolderExchange& exchange;
        // Asks the folder's helper to open its popup; `done` once, with the outcome.
        std::function<void(const QUuid& folder, Done done)> showPopup;
        // Seconds a deleted folder's Dock tile shows its badge before the helper goes.
        double helperRemovalDelay = 0;
    };

    explicit FolderCommandCenter(Services services);

    Outcome list() const override;
    Outcome add(const QString& name, const QString& symbol, const QStringList& apps) override;
    Outcome remove(const QString& folder) override;
    Outcome rename(const QString& folder, const QString& name) override;
    Outcome addApps(const QString& folder, const QStringList& apps) override;
    Outcome removeApp(const QString& folder, const QString& app) override;
    Outcome setInDock(const QString& folder, bool inDock) override;
    void open(const QString& folder, Done done) override;
    void launchAll(const QString& folder, Done done) override;
    Outcome exportDocument() const override;
    Outcome importDocument(const QByteArray& document) override;
    Outcome importDesktopAppFolders() override;
    Outcome backups() const override;
    Outcome restore(const QString& backup) override;

private:
    // The one folder FOLDER names, or the refusal.
    std::variant<AppFolder, Outcome> findFolder(const QString& folder) const;
    // Every APP as an item, or the refusal naming the first that is none.
    std::variant<QList<AppItem>, Outcome> resolveApps(const QStringList& apps) const;
    Outcome imported(const std::optional<FolderStore::ImportResult>& result, const QString& error);
    // After a change: success, or the save's failure (the change stays, and the store retries).
    Outcome saved(QString text = {}) const;

    Services m_services;
};
