#pragma once

#include "FolderDockTiles.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QUuid>
#include <QVariant>
#include <QVariantMap>

#include <functional>
#include <optional>

class DistributedNotifications;
class PreferenceDomain;
struct AppFolder;

// What the Dock's own preferences ("com.apple.dock") say about its tiles and sizes, and the one
// rewrite this program makes there: taking a folder's helper tiles out of "persistent-apps".
//
// Two sources are read, as on macOS: the preference API (`domain`) and the preferences file,
// parsed whole on every call. Nothing is cached.
class DockPreferences final : public FolderDockTiles {
public:
    // Answers about helper bundles, which are built and launched elsewhere.
    struct Helpers {
        // The folder's helper bundle path (`helperBundleURL`), or none.
        std::function<std::optional<QString>(const QUuid& folderID)> bundlePath;
        // Whether a running application has exactly this bundle path.
        std::function<bool(const QString& bundlePath)> isRunning;
    };

    DockPreferences(PreferenceDomain& domain, DistributedNotifications& notifications, QString dockPreferencesPath,
                    QString helpersDir, QString helperStateDir, Helpers helpers);

    const QString& dockPreferencesPath() const { return m_dockPreferencesPath; }

    // The dictionaries of "persistent-apps", in Dock order: preference API, else the file.
    std::optional<QList<QVariantMap>> dockPersistentApps() const;
    // The paths of the file's tiles; empty on any failure.
    QSet<QString> dockPersistentAppPathsFromFile() const;

    std::optional<double> dockTileSize() const;
    std::optional<double> dockLargeSize() const;
    bool isDockMagnificationEnabled() const;

    // The Dock lists the folder's helper, or the helper runs and its ".pinned" marker says "1".
    bool isFolderPinned(const AppFolder& folder) const;
    std::optional<bool> isFolderKept(const AppFolder& folder) const override { return isFolderPinned(folder); }
    // A running helper keeps its tile while the Dock is being set up.
    bool pinIsWholeState() const override { return false; }

    // Drops the folder's helper tiles from "persistent-apps" and tells the Dock to reread it.
    // Nothing is written or posted when no tile matched.
    void removeFolderTilesFromDock(const AppFolder& folder) override;
    // Keeps the folder's helper in the Dock: a tile at the end of "persistent-apps", unless one is
    // there already, and the Dock told.
    void keepFolderTileInDock(const AppFolder& folder) override;
    // The tiles that named `formerHelperPath` name the folder's current helper and its name
    // instead, each in its place; the Dock is told when anything changed.
    void moveFolderTiles(const AppFolder& folder, const QString& formerHelperPath) override;
    // The Dock's own file names the helpers: nothing else stands for a folder.
    void syncFolderTiles(const QList<AppFolder>&) override {}

private:
    QVariant apiValue(const QString& key) const;
    std::optional<QVariantMap> fileDictionary() const;
    // "persistent-apps" as stored, other entries than tiles included.
    std::optional<QVariantList> persistentAppsArray() const;
    std::optional<double> dockSize(const QString& key) const;
    // "persistent-apps" as the preference API holds it, to be changed and written back; none
    // when what is stored there is not a list, which a write would destroy.
    std::optional<QVariantList> writablePersistentApps() const;
    // Stores the tiles and tells the Dock to reread them.
    void writePersistentApps(const QVariantList& entries);
    // The Dock's entry for the folder's helper at `helperPath`.
    static QVariantMap helperTile(const AppFolder& folder, const QString& helperPath);
    bool isHelperTileOf(const QVariantMap& tile, const AppFolder& folder, const std::optional<QString>& helperPath,
                        const QString& helpersPath) const;

    PreferenceDomain& m_domain;
    DistributedNotifications& m_notifications;
    QString m_dockPreferencesPath;
    QString m_helpersDir;
    QString m_helperStateDir;
    Helpers m_helpers;
};
