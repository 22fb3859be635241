#pragma once

#include "platform/DesktopAppFolders.h"

class DesktopSettings;

// GNOME's app folders from GSettings: "folder-children" of org.gnome.desktop.app-folders names
// them, each kept at /org/gnome/desktop/app-folders/folders/<id>/ in the relocatable
// org.gnome.desktop.app-folders.folder. Where the schemas are not installed there are no folders.
// The settings come through `settings`, so GIO is mapped only by a process that reads them.
class GioDesktopAppFolders final : public DesktopAppFolders {
public:
    static inline const QString schemaId = QStringLiteral("org.gnome.desktop.app-folders");
    static inline const QString folderSchemaId = QStringLiteral("org.gnome.desktop.app-folders.folder");

    explicit GioDesktopAppFolders(DesktopSettings& settings);

    // Where a folder's settings are kept.
    static QString folderPath(const QString& id);

    QList<DesktopAppFolder> folders() const override;

private:
    DesktopSettings& m_settings;
};
