#pragma once

#include "AppFolder.h"
#include "FolderBackups.h"
#include "FolderEncodings.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QUuid>

#include <functional>
#include <memory>
#include <optional>

class Clock;
class HelperLaunchLog;
class HelperTileActions;
class LocalNotificationCenter;
class Scheduler;
class WorkItem;

// The ordered folder list of this process, persisted to the folders file after every change,
// and the user-interface flags the main window presents sheets from.
class FolderStore : public QObject {
    Q_OBJECT
public:
    using AppPickerCallback = std::function<void(const QList<AppItem>&)>;

    struct Services {
        Clock& clock;
        Scheduler& scheduler;
        LocalNotificationCenter& notifications;
        HelperTileActions& helpers;
        HelperLaunchLog& launchLog;
        // Helper processes read the folders file and never write it.
        std::function<bool()> isHelperProcess;
    };

    // A folder taken out of the Dock keeps its tile this long, showing "OFF", before it goes.
    static constexpr double dockRemovalDelay = 2.0;
    // Bursts of reconcile requests become one synchronisation this long after the last.
    static constexpr double dockReconcileDebounce = 0.2;
    // While the folders file is behind, a save is tried again this often, so a disk that frees up
    // gets the list without the user doing anything.
    static constexpr double saveRetryInterval = 5.0;
    // Saves closer together than this are one edit (a slider drag saves many times a second):
    // one kept copy, of the version before the first of them.
    static constexpr double keepBurstInterval = 10.0;

    struct ImportResult {
        int added = 0;
        int updated = 0;   // known ids whose record changed
        int unchanged = 0; // known ids whose record was already the same
    };

    // Creates "<applicationSupportDirectory>/Trellin/" when missing; does not load.
    FolderStore(const QString& applicationSupportDirectory, Services services, QObject* parent = nullptr);
    ~FolderStore() override;

    const QString& saveURL() const { return m_saveURL; }
    const QList<AppFolder>& folders() const { return m_folders; }
    // Every assignment notifies and saves.
    void setFolders(const QList<AppFolder>& folders);

    // True when the list changed.
    bool load();
    // The folders file exists but could not be read or decoded, so the list in memory does not
    // stand for it: nothing may remove helpers on the strength of this list until a save has
    // kept that file aside.
    bool foldersFileUnreadable() const { return m_savedFileUnreadable; }
    void save();
    // A save failed, so the folders file is behind the list in memory (which keeps every edit).
    // Cleared by the first save that succeeds: the next change's, or a retry's.
    bool foldersFileBehind() const { return m_foldersFileBehind; }
    // Why the last save failed, in the system's words; empty while the file is up to date.
    const QString& saveFailureReason() const { return m_saveFailureReason; }
    // The folder with this id, or null; the pointer holds until the list next changes.
    const AppFolder* folder(const QUuid& id) const;
    // Its place in the list, or -1.
    qsizetype indexOf(const QUuid& id) const;
    void addFolder(const AppFolder& folder);
    void updateFolder(const AppFolder& folder);
    void deleteFolder(const QUuid& id, double helperRemovalDelay);
    void setFolderInDock(const QUuid& id, bool inDock);
    void scheduleDockReconcile();

    // Kept copies of the folders file, in "Backups" beside it.
    FolderBackups& backups() { return m_backups; }
    const FolderBackups& backups() const { return m_backups; }
    // Undo of a delete: puts the folder back at `index` (clamped), cancels its helper's pending
    // removal, and puts it back into the Dock when it was there. Nothing when the id is listed.
    void restoreDeletedFolder(const AppFolder& folder, qsizetype index);
    // Merge by id: a known id is updated in place (its Dock tile following as for updateFolder), a
    // new one appended in the given order. One save for the whole merge.
    ImportResult importFolders(const QList<AppFolder>& folders);
    // Replaces the list with a kept copy's, keeping the current list as a copy first. A copy that
    // cannot be read, or a current list that cannot be kept, changes nothing.
    bool restoreBackup(const QString& fileNameOrPath, QString* error);

    // User-interface state of this process; never stored.
    bool didStartDockStateMonitoring() const { return m_didStartDockStateMonitoring; }
    void setDidStartDockStateMonitoring(bool value);
    const std::optional<AppFolder>& folderPendingDelete() const { return m_folderPendingDelete; }
    void setFolderPendingDelete(const std::optional<AppFolder>& folder);
    bool showingEmptyFolderAlert() const { return m_showingEmptyFolderAlert; }
    void setShowingEmptyFolderAlert(bool value);
    bool showingFolderEditor() const { return m_showingFolderEditor; }
    void setShowingFolderEditor(bool value);
    const std::optional<AppFolder>& folderToEdit() const { return m_folderToEdit; }
    void setFolderToEdit(const std::optional<AppFolder>& folder);
    bool showingAppPicker() const { return m_showingAppPicker; }
    void setShowingAppPicker(bool value);
    const AppPickerCallback& appPickerCallback() const { return m_appPickerCallback; }
    void setAppPickerCallback(AppPickerCallback callback);
    const QSet<QString>& appPickerCurrentBundleIDs() const { return m_appPickerCurrentBundleIDs; }
    void setAppPickerCurrentBundleIDs(const QSet<QString>& bundleIDs);
    const std::optional<QUuid>& newlyAddedFolderID() const { return m_newlyAddedFolderID; }
    void setNewlyAddedFolderID(const std::optional<QUuid>& id);

Q_SIGNALS:
    void foldersChanged();
    // The file fell behind, caught up, or failed for another reason.
    void foldersFileBehindChanged();
    void didStartDockStateMonitoringChanged();
    void folderPendingDeleteChanged();
    void showingEmptyFolderAlertChanged();
    void showingFolderEditorChanged();
    void folderToEditChanged();
    void showingAppPickerChanged();
    void appPickerCallbackChanged();
    void appPickerCurrentBundleIDsChanged();
    void newlyAddedFolderIDChanged();

private:
    // A launch stamp first, so the Dock watching does not take the folder out before its tile is up.
    void putInDock(const AppFolder& folder);
    // What a changed folder asks of its helper and of the helper's tile.
    void followChange(const AppFolder& old, const AppFolder& folder);
    // A folder that comes back (undo, import, restore) gets its tile again when it is in the Dock.
    void bringBack(const AppFolder& folder);
    // Replaces the whole list in one save; each folder's helper follows its change.
    void replaceFolders(const QList<AppFolder>& folders);
    void keepPreviousVersion(const QByteArray& newBytes);
    bool keepUnreadableFileAside(QString* error);
    bool writeFoldersFile(QString* error);
    void retrySave();
    void markBehind(const QString& reason);
    void markSaved();

    Services m_services;
    QString m_saveURL;
    bool m_savedFileUnreadable = false;
    bool m_foldersFileBehind = false;
    QString m_saveFailureReason;
    std::shared_ptr<WorkItem> m_pendingSaveRetry;
    FolderBackups m_backups;
    FolderEncodings m_encodings;
    // The folders file as this process last wrote it, or read it in the form a save gives it: a
    // file that still holds this text is known to be readable and to stand for the list.
    std::optional<QByteArray> m_knownFile;
    // When this process last changed the folders file, for telling bursts of saves apart.
    std::optional<double> m_lastFileChange;
    // Delayed helper removals of deleted folders, so an undo can call them off.
    QHash<QUuid, std::shared_ptr<WorkItem>> m_pendingHelperRemovals;

    bool m_didStartDockStateMonitoring = false;
    std::shared_ptr<WorkItem> m_pendingDockReconcileWorkItem;
    std::optional<AppFolder> m_folderPendingDelete;
    bool m_showingEmptyFolderAlert = false;
    bool m_showingFolderEditor = false;
    std::optional<AppFolder> m_folderToEdit;
    bool m_showingAppPicker = false;
    AppPickerCallback m_appPickerCallback;
    QSet<QString> m_appPickerCurrentBundleIDs;
    std::optional<QUuid> m_newlyAddedFolderID;
    QList<AppFolder> m_folders;
};
