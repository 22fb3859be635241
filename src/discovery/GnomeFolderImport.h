#pragma once

#include "model/AppFolder.h"
#include "model/FolderStore.h"

#include <QList>
#include <QString>
#include <QUuid>

class Clock;
class DesktopAppFolders;
class DesktopEntries;
struct DesktopAppFolder;

// The desktop's app-grid folders (GNOME's) as Trellin folders. Each one's id is derived from the
// desktop's folder id, so importing again finds the folder it made before and refreshes its name
// and applications, leaving the user's symbol, style and Dock choice alone.
class GnomeFolderImport {
public:
    // A folder made from the desktop's has this symbol until the user gives it another.
    static inline const QString symbol = QStringLiteral("folder.fill");

    GnomeFolderImport(const DesktopAppFolders& source, const DesktopEntries& entries, QString language,
                      const Clock& clock);

    // The Trellin folder id for the desktop folder `desktopFolderId`: the same on every machine.
    static QUuid folderId(const QString& desktopFolderId);

    // Whether the desktop has folders to import.
    bool available() const;
    // The desktop's folders as new Trellin folders, in the desktop's order: its listed
    // applications in their order (those not installed left out, said in a log line), then the
    // installed ones of its categories by name; not in the Dock, default style.
    QList<AppFolder> folders() const;
    // Merges `folders()` into the store: new ones appended, ones imported before refreshed.
    FolderStore::ImportResult importInto(FolderStore& store) const;

private:
    AppFolder convert(const DesktopAppFolder& folder, double now) const;

    const DesktopAppFolders& m_source;
    const DesktopEntries& m_entries;
    QString m_language;
    const Clock& m_clock;
};
