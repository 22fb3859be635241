#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <optional>

// The launchers a desktop's dock pins: one per folder in the Dock, which starts or reaches that
// folder's helper and shows its drawn tile, and the main application's own, to which the dock
// matches the main application's windows.
class FolderLaunchers {
public:
    struct Launcher {
        QString name;
        // The program and its arguments, as the launcher starts it.
        QStringList command;
        // The class the started program gives its windows, by which a dock tells them apart.
        QString windowClass;
        // The picture; drawn at less than 256 pixels, it is scaled up, as docks show it large.
        QImage icon;
    };

    virtual ~FolderLaunchers() = default;

    // "trellin-folder-<UUID>.desktop", the name by which a dock pins the folder's launcher.
    static QString entryId(const QUuid& folder);
    // The folder whose launcher `entryId` names, in exactly the form `entryId` gives; none for
    // anything else, so that a dock's list of pins is read back without trusting its text.
    static std::optional<QUuid> folderOfEntry(const QString& entryId);
    // The window class of the folder's helper: one per folder, so that a dock matches each
    // helper's windows to its own launcher.
    static QString windowClass(const QUuid& folder);
    // "trellin.desktop", the main application's launcher.
    static QString mainEntryId();
    // "trellin", the window class of the main application's windows: its launcher's StartupWMClass.
    static QString mainWindowClass();

    // Makes the folder's launcher say this; `launcher.windowClass` is ignored, the folder's own
    // is used. Nothing is rewritten when it says so already. None when done, else why not.
    virtual std::optional<QString> write(const QUuid& folder, const Launcher& launcher) = 0;
    // Whether the folder has a launcher (a file of any kind stands where it would be).
    virtual bool exists(const QUuid& folder) const = 0;
    // Takes the folder's launcher and its pictures away; none when nothing of them is left.
    virtual std::optional<QString> remove(const QUuid& folder) = 0;
    // Makes the main application's launcher say this, rewriting it only when it does not.
    virtual std::optional<QString> ensureMainEntry(const Launcher& launcher) = 0;
};
