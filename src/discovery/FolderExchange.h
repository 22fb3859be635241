#pragma once

#include "model/AppFolder.h"
#include "model/AppItem.h"
#include "model/FolderStore.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class Clock;
class DesktopAppFolders;
class DesktopEntries;

// Folders in and out of the store: the folders document, the desktop's own app folders and
// applications named by the user. One object for the main window, the settings and the command
// line, so all three import alike.
class FolderExchange {
public:
    struct Sources {
        FolderStore& store;
        const Clock& clock;
        const DesktopEntries& desktopEntries;
        // The desktop's app-grid folders; null where the platform has none.
        const DesktopAppFolders* desktopAppFolders = nullptr;
        QStringList bundleDirectories = {};
        std::function<QString()> language = {}; // the interface language, for entry names
    };

    explicit FolderExchange(Sources sources);

    FolderStore& store() const { return m_sources.store; }

    // An application bundle path, a desktop file id or a desktop-entry file, as an item; none,
    // with one English line in `error`, when it names no application.
    std::optional<AppItem> resolve(const QString& app, QString* error) const;
    // Folders brought from elsewhere with their applications found at this machine's places.
    QList<AppFolder> relocate(QList<AppFolder> folders) const;
    // Whether the item's application is where the item says.
    static bool isInstalled(const AppItem& item);

    bool exportTo(const QString& path, QString* error) const;
    // None, with `error` saying why, when the file is no folders document this program reads;
    // the store is then unchanged.
    std::optional<FolderStore::ImportResult> importFrom(const QString& path, QString* error);
    std::optional<FolderStore::ImportResult> importDocument(const QByteArray& document, QString* error);

    // Whether the desktop has app folders to import.
    bool hasDesktopAppFolders() const;
    // None, with `error` saying why, when the desktop has none.
    std::optional<FolderStore::ImportResult> importDesktopAppFolders(QString* error);

private:
    Sources m_sources;
};
