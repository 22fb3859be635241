#pragma once

#include <QList>
#include <QString>

#include <optional>

struct AppFolder;

// The tiles that stand for folders in the Dock, whichever dock it is: the Linux Dock's kept
// tiles in its preferences, or the launchers pinned in the user's own dock.
class FolderDockTiles {
public:
    virtual ~FolderDockTiles() = default;

    // Whether the Dock keeps the folder's tile; none while the Dock cannot be asked (it does not
    // run yet), which must never be taken for "not kept".
    virtual std::optional<bool> isFolderKept(const AppFolder& folder) const = 0;
    // Whether a tile that is not kept is the whole answer: a folder whose tile is gone is out of
    // the Dock at once, even while its helper still runs (a windowless helper shows nowhere).
    virtual bool pinIsWholeState() const = 0;

    // Keeps the folder's tile in the Dock, after any there are.
    virtual void keepFolderTileInDock(const AppFolder& folder) = 0;
    // Takes the folder's tiles out of the Dock.
    virtual void removeFolderTilesFromDock(const AppFolder& folder) = 0;
    // The folder's helper was rebuilt (a new name is a new bundle): its tiles lead to the new one.
    virtual void moveFolderTiles(const AppFolder& folder, const QString& formerHelperPath) = 0;
    // Brings what stands for each folder up to date with the folders (their names, helpers and
    // pictures), and takes away what stands for a folder out of the Dock.
    virtual void syncFolderTiles(const QList<AppFolder>& folders) = 0;
};
