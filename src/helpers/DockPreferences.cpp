#include "DockPreferences.h"
#include "platform/Protocol.h"

#include "HelperBundleBuilder.h"

#include "model/AppFolder.h"
#include "model/FolderID.h"
#include "platform/Bundle.h"
#include "platform/Console.h"
#include "platform/DistributedNotifications.h"
#include "platform/DockFileFormat.h"
#include "platform/FileSystem.h"
#include "platform/NotificationNames.h"
#include "platform/PreferenceDomain.h"
#include "platform/PropertyList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <cmath>
#include <limits>

namespace {

using DockFileFormat::exactBoolean;
using DockFileFormat::exactInteger;
using DockFileFormat::persistentAppsKey;
using DockFileFormat::standardisedPath;
using DockFileFormat::tileFilePath;

const QString logPrefix = QStringLiteral("[HelperManager] ");

bool isDictionary(const QVariant& value) {
    return value.typeId() == QMetaType::QVariantMap;
}

QList<QVariantMap> dictionariesOf(const QVariantList& entries) {
    QList<QVariantMap> tiles;
    for (const QVariant& entry : entries) {
        if (isDictionary(entry))
            tiles.append(entry.toMap());
    }
    return tiles;
}

// Symbolic links resolved in the part of the path that exists; the rest is kept as written, so a
// tile whose bundle is gone still compares against the resolved helpers directory.
QString resolvedPath(const QString& path) {
    QString existing = path;
    QStringList missing;
    while (true) {
        const QString canonical = QFileInfo(existing).canonicalFilePath();
        if (!canonical.isEmpty()) {
            if (missing.isEmpty())
                return canonical;
            const QString tail = missing.join(u'/');
            return canonical == QStringLiteral("/") ? QString(u'/' + tail) : QString(canonical + u'/' + tail);
        }
        const qsizetype slash = existing.lastIndexOf(u'/');
        if (slash < 0 || existing == QStringLiteral("/"))
            return path;
        missing.prepend(existing.mid(slash + 1));
        existing = slash == 0 ? QStringLiteral("/") : existing.left(slash);
    }
}

std::optional<QString> resolvedStandardPath(const QString& path) {
    const std::optional<QString> standard = standardisedPath(path);
    if (!standard)
        return std::nullopt;
    return resolvedPath(*standard);
}

} // namespace

DockPreferences::DockPreferences(PreferenceDomain& domain, DistributedNotifications& notifications,
                                 QString dockPreferencesPath, QString helpersDir, QString helperStateDir,
                                 Helpers helpers)
    : m_domain(domain)
    , m_notifications(notifications)
    , m_dockPreferencesPath(std::move(dockPreferencesPath))
    , m_helpersDir(std::move(helpersDir))
    , m_helperStateDir(std::move(helperStateDir))
    , m_helpers(std::move(helpers)) {}

QVariant DockPreferences::apiValue(const QString& key) const {
    m_domain.synchronize();
    return m_domain.copyValue(key);
}

std::optional<QVariantMap> DockPreferences::fileDictionary() const {
    const std::optional<PropertyList::Document> document = PropertyList::readFile(m_dockPreferencesPath);
    if (!document || !isDictionary(document->root))
        return std::nullopt;
    return document->root.toMap();
}

std::optional<QVariantList> DockPreferences::persistentAppsArray() const {
    const QVariant fromApi = apiValue(persistentAppsKey);
    if (fromApi.typeId() == QMetaType::QVariantList)
        return fromApi.toList();
    const std::optional<QVariantMap> file = fileDictionary();
    if (!file)
        return std::nullopt;
    const QVariant fromFile = file->value(persistentAppsKey);
    if (fromFile.typeId() != QMetaType::QVariantList)
        return std::nullopt;
    return fromFile.toList();
}

std::optional<QList<QVariantMap>> DockPreferences::dockPersistentApps() const {
    // An entry that is not a tile is skipped, wherever it was read: refusing the whole list for it
    // would make every pinned folder look unpinned.
    const std::optional<QVariantList> entries = persistentAppsArray();
    if (!entries)
        return std::nullopt;
    return dictionariesOf(*entries);
}

QSet<QString> DockPreferences::dockPersistentAppPathsFromFile() const {
    QSet<QString> paths;
    const std::optional<QVariantMap> file = fileDictionary();
    if (!file)
        return paths;
    const QVariant entries = file->value(persistentAppsKey);
    if (entries.typeId() != QMetaType::QVariantList)
        return paths;
    for (const QVariantMap& tile : dictionariesOf(entries.toList())) {
        if (const std::optional<QString> path = tileFilePath(tile))
            paths.insert(*path);
    }
    return paths;
}

std::optional<double> DockPreferences::dockSize(const QString& key) const {
    if (const std::optional<qint64> fromApi = exactInteger(apiValue(key)))
        return double(*fromApi);
    if (const std::optional<QVariantMap> file = fileDictionary()) {
        if (const std::optional<qint64> fromFile = exactInteger(file->value(key)))
            return double(*fromFile);
    }
    return std::nullopt;
}

std::optional<double> DockPreferences::dockTileSize() const {
    return dockSize(QStringLiteral("tilesize"));
}

std::optional<double> DockPreferences::dockLargeSize() const {
    return dockSize(QStringLiteral("largesize"));
}

bool DockPreferences::isDockMagnificationEnabled() const {
    const QString key = QStringLiteral("magnification");
    const QVariant fromApi = apiValue(key);
    if (const std::optional<bool> on = exactBoolean(fromApi))
        return *on;
    if (const std::optional<qint64> number = exactInteger(fromApi))
        return *number != 0;
    const std::optional<QVariantMap> file = fileDictionary();
    if (!file)
        return false;
    const QVariant fromFile = file->value(key);
    if (const std::optional<bool> on = exactBoolean(fromFile))
        return *on;
    if (const std::optional<qint64> number = exactInteger(fromFile))
        return *number != 0;
    return false;
}

bool DockPreferences::isFolderPinned(const AppFolder& folder) const {
    const std::optional<QString> helper = m_helpers.bundlePath ? m_helpers.bundlePath(folder.id) : std::nullopt;
    if (!helper)
        return false;
    const std::optional<QString> helperPath = standardisedPath(*helper);
    if (helperPath && dockPersistentAppPathsFromFile().contains(*helperPath))
        return true;

    // A marker holds one character: anything but a small regular file is not "1", whatever it holds.
    const std::optional<QByteArray> marker =
        FileSystem::readFile(QDir(m_helperStateDir).filePath(FolderID::canonical(folder.id) + Protocol::Marker::pinned),
                             FileSystem::kMarkerLimit, FileSystem::Links::Refuse)
            .bytes;
    if (!marker || QString::fromUtf8(*marker).trimmed() != QStringLiteral("1"))
        return false;
    return m_helpers.isRunning && m_helpers.isRunning(*helper);
}

bool DockPreferences::isHelperTileOf(const QVariantMap& tile, const AppFolder& folder,
                                     const std::optional<QString>& helperPath, const QString& helpersPath) const {
    const std::optional<QString> tilePath = tileFilePath(tile);
    if (!tilePath)
        return false;
    const QString path = resolvedPath(*tilePath);
    if (path != helpersPath && !path.startsWith(helpersPath + u'/'))
        return false;
    if (helperPath && path == *helperPath)
        return true;
    // A bundle that still says which folder it serves decides by that alone: two folders may
    // share a name, and with it the label of their tiles.
    if (const QVariant owner = HelperBundleBuilder::groupIDOf(path); owner.typeId() == QMetaType::QString)
        return owner.toString() == FolderID::canonical(folder.id);
    const QVariant label = tile.value(QStringLiteral("tile-data")).toMap().value(QStringLiteral("file-label"));
    return label.typeId() == QMetaType::QString && label.toString() == folder.name;
}

void DockPreferences::removeFolderTilesFromDock(const AppFolder& folder) {
    const std::optional<QString> helperBundle = m_helpers.bundlePath ? m_helpers.bundlePath(folder.id) : std::nullopt;
    const std::optional<QString> helperPath = helperBundle ? resolvedStandardPath(*helperBundle) : std::nullopt;
    const std::optional<QString> helpersPath = resolvedStandardPath(m_helpersDir);
    // Without a helpers directory every tile would look like one of ours.
    if (!helpersPath)
        return;

    const QVariantList entries = persistentAppsArray().value_or(QVariantList());
    QVariantList kept;
    kept.reserve(entries.size());
    for (const QVariant& entry : entries) {
        // Entries that are not tiles belong to the Dock and go back as they were.
        if (isDictionary(entry) && isHelperTileOf(entry.toMap(), folder, helperPath, *helpersPath))
            continue;
        kept.append(entry);
    }
    if (kept.size() == entries.size())
        return;
    writePersistentApps(kept);
}

void DockPreferences::writePersistentApps(const QVariantList& entries) {
    QString error;
    if (!m_domain.setValue(persistentAppsKey, entries, &error)) {
        // The Dock would reread an unchanged list, so it is not told.
        Console::printLine(logPrefix + QStringLiteral("Failed to update Dock preferences: ") + error);
        return;
    }
    m_domain.synchronize();
    m_notifications.post(NotificationName::dockPreferencesChanged);
}

std::optional<QVariantList> DockPreferences::writablePersistentApps() const {
    const QVariant stored = apiValue(persistentAppsKey);
    if (stored.isValid() && stored.typeId() != QMetaType::QVariantList) {
        Console::printLine(logPrefix + QStringLiteral("Left the Dock preferences alone: \"persistent-apps\" is not a "
                                                      "list"));
        return std::nullopt;
    }
    return stored.toList();
}

QVariantMap DockPreferences::helperTile(const AppFolder& folder, const QString& helperPath) {
    return DockFileFormat::applicationTile(helperPath, folder.name, Bundle(helperPath).identifier());
}

void DockPreferences::keepFolderTileInDock(const AppFolder& folder) {
    const std::optional<QString> helper = m_helpers.bundlePath ? m_helpers.bundlePath(folder.id) : std::nullopt;
    const std::optional<QString> helperPath = helper ? resolvedStandardPath(*helper) : std::nullopt;
    if (!helperPath)
        return;
    std::optional<QVariantList> entries = writablePersistentApps();
    if (!entries)
        return;
    for (const QVariant& entry : std::as_const(*entries)) {
        const std::optional<QString> path = isDictionary(entry) ? tileFilePath(entry.toMap()) : std::nullopt;
        if (path && resolvedPath(*path) == *helperPath)
            return;
    }
    entries->append(helperTile(folder, *helper));
    writePersistentApps(*entries);
}

void DockPreferences::moveFolderTiles(const AppFolder& folder, const QString& formerHelperPath) {
    const std::optional<QString> helper = m_helpers.bundlePath ? m_helpers.bundlePath(folder.id) : std::nullopt;
    const std::optional<QString> helperPath = helper ? resolvedStandardPath(*helper) : std::nullopt;
    const std::optional<QString> formerPath = resolvedStandardPath(formerHelperPath);
    // Without a new helper there is nothing to lead to: the tiles stay as they are.
    if (!helperPath || !formerPath)
        return;
    const std::optional<QVariantList> entries = writablePersistentApps();
    if (!entries)
        return;
    const QVariantMap replacement = helperTile(folder, *helper);
    QVariantList moved;
    moved.reserve(entries->size());
    bool helperListed = false;
    for (const QVariant& entry : *entries) {
        const std::optional<QString> path = isDictionary(entry) ? tileFilePath(entry.toMap()) : std::nullopt;
        const QString resolved = path ? resolvedPath(*path) : QString();
        if (path && (resolved == *formerPath || resolved == *helperPath)) {
            // One tile per helper: a second one would show the folder twice.
            if (helperListed)
                continue;
            helperListed = true;
            const QVariant label =
                entry.toMap().value(QStringLiteral("tile-data")).toMap().value(QStringLiteral("file-label"));
            if (resolved == *helperPath && label.typeId() == QMetaType::QString && label.toString() == folder.name) {
                moved.append(entry);
                continue;
            }
            // Only where the tile leads and what it is called change; the Dock's other keys stay.
            QVariantMap tile = entry.toMap();
            QVariantMap tileData = tile.value(QStringLiteral("tile-data")).toMap();
            const QVariantMap newData = replacement.value(QStringLiteral("tile-data")).toMap();
            for (const QString& key : {QStringLiteral("file-data"), QStringLiteral("file-label")})
                tileData.insert(key, newData.value(key));
            tile.insert(QStringLiteral("tile-data"), tileData);
            moved.append(tile);
            continue;
        }
        moved.append(entry);
    }
    if (moved != *entries)
        writePersistentApps(moved);
}
