#include "FolderStore.h"

#include "FolderCodec.h"
#include "HelperLaunchLog.h"
#include "HelperTileActions.h"
#include "Timestamp.h"
#include "platform/Clock.h"
#include "platform/Console.h"
#include "platform/FileSystem.h"
#include "platform/LocalNotificationCenter.h"
#include "platform/NotificationNames.h"
#include "platform/Scheduler.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>

#include <cerrno>

FolderStore::FolderStore(const QString& applicationSupportDirectory, Services services, QObject* parent)
    : QObject(parent)
    , m_services(std::move(services))
    , m_backups(QDir(applicationSupportDirectory).filePath(QStringLiteral("Trellin/Backups")), m_services.clock) {
    const QString directory = QDir(applicationSupportDirectory).filePath(QStringLiteral("Trellin"));
    QDir().mkpath(directory);
    m_saveURL = QDir(directory).filePath(QStringLiteral("folders.json"));
}

FolderStore::~FolderStore() {
    if (m_pendingSaveRetry)
        m_pendingSaveRetry->cancel();
}

void FolderStore::keepPreviousVersion(const QByteArray& newBytes) {
    // An unreadable file is kept aside by this save instead: it must not push good copies out.
    if (m_savedFileUnreadable)
        return;
    const FileSystem::ReadResult file = FileSystem::readFile(m_saveURL, FileSystem::kDocumentLimit);
    if (!file.bytes || *file.bytes == newBytes)
        return;
    // What this process wrote last is known to be readable; only a file changed since is decoded.
    if (file.bytes != m_knownFile && !FolderCodec::decode(*file.bytes, 0)) {
        // Changed behind this process into something unreadable: kept aside, not kept as a version.
        m_savedFileUnreadable = true;
        return;
    }
    const double now = m_services.clock.now();
    const bool inBurst = m_lastFileChange && now >= *m_lastFileChange && now - *m_lastFileChange < keepBurstInterval;
    m_lastFileChange = now;
    if (inBurst)
        return;
    QString error;
    if (!m_backups.keep(*file.bytes, &error))
        Console::printLine(QStringLiteral("[FolderStore] Failed to keep a copy of the folders: ") + error);
}

void FolderStore::setFolders(const QList<AppFolder>& folders) {
    m_folders = folders;
    Q_EMIT foldersChanged();
    save();
}

bool FolderStore::load() {
    // Until a save succeeds the list in memory is newer than the file: reading the file back (as
    // the main application does when a tile's look changed) would throw the unsaved edits away.
    if (m_foldersFileBehind)
        return false;
    // Never waits and never fills memory: a FIFO, a device or a huge file here is unreadable.
    const FileSystem::ReadResult file = FileSystem::readFile(m_saveURL, FileSystem::kDocumentLimit);
    if (file.errorNumber == ENOENT)
        return false;
    // The text this process wrote or read last: the list already stands for it.
    if (file.bytes && file.bytes == m_knownFile) {
        m_savedFileUnreadable = false;
        return false;
    }
    QString error = file.error;
    const QByteArray stored = file.bytes.value_or(QByteArray());
    std::optional<QList<AppFolder>> folders;
    if (file.bytes)
        folders = FolderCodec::decode(stored, Timestamp::fromUnix(m_services.clock.now()), &error);
    if (!folders) {
        // The next save must not replace this file before it has been kept aside.
        m_savedFileUnreadable = true;
        Console::printLine(QStringLiteral("[FolderStore] Failed to load folders: ") + error);
        return false;
    }
    m_savedFileUnreadable = false;
    // Every process reloads at each appearance change, many times a second while a slider moves:
    // a list that is already held is not announced again, and a file already in the form a save
    // would give it is not rewritten (one with missing keys still is, once) - so an up-to-date file
    // in a read-only folder is not a failed save either.
    const std::optional<QByteArray> canonical = m_encodings.encode(*folders);
    const bool changed = !canonical || m_encodings.encode(m_folders) != canonical;
    if (changed) {
        m_folders = *folders;
        Q_EMIT foldersChanged();
    }
    if (!canonical || *canonical != stored)
        save();
    else
        m_knownFile = stored;
    return changed;
}

bool FolderStore::keepUnreadableFileAside(QString* error) {
    if (!m_savedFileUnreadable)
        return true;
    if (!QFileInfo::exists(m_saveURL)) {
        m_savedFileUnreadable = false;
        return true;
    }
    const QString stamp = QDateTime::fromMSecsSinceEpoch(qint64(m_services.clock.now() * 1000))
                              .toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString keptPath = m_saveURL + QStringLiteral(".unreadable-") + stamp;
    for (int n = 2; QFileInfo::exists(keptPath); ++n)
        keptPath = m_saveURL + QStringLiteral(".unreadable-") + stamp + u'-' + QString::number(n);
    QFile file(m_saveURL);
    if (!file.rename(keptPath)) {
        *error = QStringLiteral("could not keep the unreadable folders file aside: ") + file.errorString();
        return false;
    }
    m_savedFileUnreadable = false;
    Console::printLine(QStringLiteral("[FolderStore] Kept the unreadable folders file as ") + keptPath);
    return true;
}

bool FolderStore::writeFoldersFile(QString* error) {
    const std::optional<QByteArray> bytes = m_encodings.encode(m_folders, error);
    if (!bytes)
        return false;
    keepPreviousVersion(*bytes);
    // The folders file is the user's: one kept elsewhere through a link stays there.
    m_knownFile.reset();
    if (!keepUnreadableFileAside(error) ||
        !FileSystem::writeFileAtomically(m_saveURL, *bytes, error, FileSystem::Links::Follow))
        return false;
    m_knownFile = *bytes;
    return true;
}

void FolderStore::save() {
    // The main application may have written a newer list since a helper read the file.
    if (m_services.isHelperProcess && m_services.isHelperProcess())
        return;
    QString error;
    if (writeFoldersFile(&error)) {
        markSaved();
        return;
    }
    Console::printLine(QStringLiteral("[FolderStore] Failed to save folders: ") + error);
    markBehind(error);
}

void FolderStore::retrySave() {
    m_pendingSaveRetry.reset();
    if (!m_foldersFileBehind)
        return;
    QString error;
    if (writeFoldersFile(&error)) {
        markSaved();
        return;
    }
    // Said once per reason: the same line every few seconds would bury the rest of the output.
    if (error != m_saveFailureReason)
        Console::printLine(QStringLiteral("[FolderStore] Failed to save folders: ") + error);
    markBehind(error);
}

void FolderStore::markBehind(const QString& reason) {
    const bool changed = !m_foldersFileBehind || reason != m_saveFailureReason;
    m_foldersFileBehind = true;
    m_saveFailureReason = reason;
    if (!m_pendingSaveRetry) {
        m_pendingSaveRetry = m_services.scheduler.schedule(this, saveRetryInterval, [this] { retrySave(); });
    }
    if (changed)
        Q_EMIT foldersFileBehindChanged();
}

void FolderStore::markSaved() {
    if (m_pendingSaveRetry) {
        m_pendingSaveRetry->cancel();
        m_pendingSaveRetry.reset();
    }
    if (!m_foldersFileBehind)
        return;
    m_foldersFileBehind = false;
    m_saveFailureReason.clear();
    Q_EMIT foldersFileBehindChanged();
}

qsizetype FolderStore::indexOf(const QUuid& id) const {
    for (qsizetype i = 0; i < m_folders.size(); ++i) {
        if (m_folders.at(i).id == id)
            return i;
    }
    return -1;
}

const AppFolder* FolderStore::folder(const QUuid& id) const {
    const qsizetype index = indexOf(id);
    return index < 0 ? nullptr : &m_folders.at(index);
}

void FolderStore::putInDock(const AppFolder& folder) {
    m_services.launchLog.recordLaunch(folder.id);
    m_services.helpers.putFolderInDock(folder);
}

void FolderStore::addFolder(const AppFolder& folder) {
    m_folders.append(folder);
    Q_EMIT foldersChanged();
    save();
    setNewlyAddedFolderID(folder.id);
    if (folder.isInDock)
        putInDock(folder);
}

void FolderStore::updateFolder(const AppFolder& folder) {
    const qsizetype index = indexOf(folder.id);
    if (index < 0)
        return;
    const AppFolder old = m_folders.at(index);
    m_folders[index] = folder;
    Q_EMIT foldersChanged();
    save();
    followChange(old, folder);
}

void FolderStore::followChange(const AppFolder& old, const AppFolder& folder) {
    if (old.tileStyle != folder.tileStyle)
        m_services.notifications.post(NotificationName::tileAppearanceChanged, folder.id);

    if (old.isInDock != folder.isInDock) {
        if (!folder.isInDock) {
            m_services.helpers.scheduleDockRemoval(folder, dockRemovalDelay);
        } else {
            m_services.helpers.cancelDockRemoval(folder.id);
            putInDock(folder);
        }
        return;
    }
    // A style change alone never rebuilds: the helper redraws when told the appearance changed.
    const bool contentChanged = old.apps != folder.apps || old.name != folder.name || old.emoji != folder.emoji;
    if (folder.isInDock && contentChanged) {
        m_services.launchLog.recordLaunch(folder.id);
        m_services.helpers.rebuildHelper(folder);
    }
}

void FolderStore::deleteFolder(const QUuid& id, double helperRemovalDelay) {
    const qsizetype index = indexOf(id);
    if (index < 0)
        return;
    const AppFolder folder = m_folders.at(index);
    if (helperRemovalDelay > 0) {
        if (const auto earlier = m_pendingHelperRemovals.take(id))
            earlier->cancel();
        m_pendingHelperRemovals.insert(id, m_services.scheduler.schedule(this, helperRemovalDelay, [this, folder] {
            m_pendingHelperRemovals.remove(folder.id);
            m_services.helpers.removeFolderFromDock(folder);
        }));
    } else {
        m_services.helpers.removeFolderFromDock(folder);
    }
    m_folders.removeAt(index);
    Q_EMIT foldersChanged();
    save();
}

void FolderStore::bringBack(const AppFolder& folder) {
    // Out of the Dock, a deleted folder's helper still has to go.
    if (!folder.isInDock)
        return;
    if (const auto pending = m_pendingHelperRemovals.take(folder.id))
        pending->cancel();
    // A fresh helper, without the delete badge the old one shows, and its tile kept in the Dock.
    putInDock(folder);
}

void FolderStore::restoreDeletedFolder(const AppFolder& folder, qsizetype index) {
    if (indexOf(folder.id) >= 0)
        return;
    m_folders.insert(std::clamp<qsizetype>(index, 0, m_folders.size()), folder);
    Q_EMIT foldersChanged();
    save();
    bringBack(folder);
}

void FolderStore::replaceFolders(const QList<AppFolder>& folders) {
    QHash<QUuid, AppFolder> before;
    for (const AppFolder& folder : std::as_const(m_folders))
        before.insert(folder.id, folder);
    QSet<QUuid> after;
    for (const AppFolder& folder : folders)
        after.insert(folder.id);
    // Gone folders leave first, as a delete without delay does.
    for (const AppFolder& folder : std::as_const(m_folders)) {
        if (!after.contains(folder.id))
            m_services.helpers.removeFolderFromDock(folder);
    }
    m_folders = folders;
    Q_EMIT foldersChanged();
    save();
    for (const AppFolder& folder : folders) {
        const auto old = before.constFind(folder.id);
        if (old != before.constEnd())
            followChange(*old, folder);
        else
            bringBack(folder);
    }
}

FolderStore::ImportResult FolderStore::importFolders(const QList<AppFolder>& folders) {
    ImportResult result;
    QList<AppFolder> merged = m_folders;
    const auto indexIn = [&merged](const QUuid& id) {
        for (qsizetype i = 0; i < merged.size(); ++i) {
            if (merged.at(i).id == id)
                return i;
        }
        return qsizetype(-1);
    };
    for (const AppFolder& folder : folders) {
        const qsizetype index = indexIn(folder.id);
        if (index < 0) {
            merged.append(folder);
            ++result.added;
            continue;
        }
        // Folders have no equality of their own; their stored form tells whether anything changed.
        if (FolderCodec::encode({merged.at(index)}) == FolderCodec::encode({folder}))
            ++result.unchanged;
        else
            ++result.updated;
        merged[index] = folder;
    }
    if (result.added || result.updated)
        replaceFolders(merged);
    return result;
}

bool FolderStore::restoreBackup(const QString& fileNameOrPath, QString* error) {
    const auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    const std::optional<FolderBackups::Backup> backup = m_backups.find(fileNameOrPath);
    if (!backup)
        return fail(QStringLiteral("no kept copy of the folders is called \"%1\"").arg(fileNameOrPath));
    const FileSystem::ReadResult file =
        FileSystem::readFile(backup->path, FileSystem::kDocumentLimit, FileSystem::Links::Refuse);
    if (!file.bytes)
        return fail(QStringLiteral("could not read %1: %2").arg(backup->fileName, file.error));
    QString why;
    const std::optional<QList<AppFolder>> folders =
        FolderCodec::decode(*file.bytes, Timestamp::fromUnix(m_services.clock.now()), &why);
    if (!folders)
        return fail(QStringLiteral("%1 is damaged: %2").arg(backup->fileName, why));
    // The list it replaces is kept first, even in the middle of a burst of saves: without that
    // copy a restore could not be taken back.
    const std::optional<QByteArray> current = FolderCodec::encode(m_folders, &why);
    if (!current)
        return fail(QStringLiteral("could not keep the current folders first: ") + why);
    if (!m_backups.keep(*current, &why))
        return fail(QStringLiteral("could not keep the current folders first: ") + why);
    // That copy stands for this change: the save below keeps no other.
    m_lastFileChange = m_services.clock.now();
    replaceFolders(*folders);
    return true;
}

void FolderStore::setFolderInDock(const QUuid& id, bool inDock) {
    const qsizetype index = indexOf(id);
    if (index < 0 || m_folders.at(index).isInDock == inDock)
        return;
    QList<AppFolder> changed = m_folders;
    changed[index].isInDock = inDock;
    setFolders(changed);
}

void FolderStore::scheduleDockReconcile() {
    if (m_pendingDockReconcileWorkItem)
        m_pendingDockReconcileWorkItem->cancel();
    m_pendingDockReconcileWorkItem = m_services.scheduler.schedule(this, dockReconcileDebounce, [this] {
        // A list that does not stand for the folders file would remove the helpers of every
        // folder the file holds.
        if (!foldersFileUnreadable())
            m_services.helpers.syncHelpers(m_folders);
    });
}

// Flags with an equality notify only when an assignment changes them.
template <typename T> static bool assignIfChanged(T& member, const T& value) {
    if (member == value)
        return false;
    member = value;
    return true;
}

void FolderStore::setDidStartDockStateMonitoring(bool value) {
    if (assignIfChanged(m_didStartDockStateMonitoring, value))
        Q_EMIT didStartDockStateMonitoringChanged();
}

void FolderStore::setShowingEmptyFolderAlert(bool value) {
    if (assignIfChanged(m_showingEmptyFolderAlert, value))
        Q_EMIT showingEmptyFolderAlertChanged();
}

void FolderStore::setShowingFolderEditor(bool value) {
    if (assignIfChanged(m_showingFolderEditor, value))
        Q_EMIT showingFolderEditorChanged();
}

void FolderStore::setShowingAppPicker(bool value) {
    if (assignIfChanged(m_showingAppPicker, value))
        Q_EMIT showingAppPickerChanged();
}

void FolderStore::setAppPickerCurrentBundleIDs(const QSet<QString>& value) {
    if (assignIfChanged(m_appPickerCurrentBundleIDs, value))
        Q_EMIT appPickerCurrentBundleIDsChanged();
}

void FolderStore::setNewlyAddedFolderID(const std::optional<QUuid>& value) {
    if (assignIfChanged(m_newlyAddedFolderID, value))
        Q_EMIT newlyAddedFolderIDChanged();
}

// Fields without an equality notify on every assignment.
void FolderStore::setFolderPendingDelete(const std::optional<AppFolder>& folder) {
    m_folderPendingDelete = folder;
    Q_EMIT folderPendingDeleteChanged();
}

void FolderStore::setFolderToEdit(const std::optional<AppFolder>& folder) {
    m_folderToEdit = folder;
    Q_EMIT folderToEditChanged();
}

void FolderStore::setAppPickerCallback(AppPickerCallback callback) {
    m_appPickerCallback = std::move(callback);
    Q_EMIT appPickerCallbackChanged();
}
