#pragma once

#include "model/AppFolder.h"
#include "model/AppItem.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class DesktopEntries;

// Applications named by the user (a command line's APP) and applications brought from another
// machine, found among what is installed here.
class AppResolver {
public:
    // `bundleDirectories`: where `relocate` looks for bundles, as the application picker does.
    AppResolver(const DesktopEntries& entries, QString language, QStringList bundleDirectories = {});

    // An application bundle path (".app"), a desktop file id ("org.gnome.TextEditor.desktop", the
    // ".desktop" optional) or a desktop-entry file path; a relative path is taken from this
    // process's working directory. None, with one English line in `error`, when it is none of
    // them or is one of Trellin's own launchers. The item has a fresh id.
    std::optional<AppItem> resolve(const QString& app, QString* error) const;
    // Items whose application is not at its recorded place get the place where an application of
    // the same identifier (bundleID) is installed here, when there is one; the rest keep theirs
    // and show as missing. Ids, names and order stay.
    QList<AppFolder> relocate(QList<AppFolder> folders) const;
    // Whether the item's application is where the item says.
    static bool isInstalled(const AppItem& item);

private:
    std::optional<AppItem> resolvePath(const QString& path, QString* error) const;
    std::optional<AppItem> resolveEntryId(const QString& id, QString* error) const;

    const DesktopEntries& m_entries;
    QString m_language;
    QStringList m_bundleDirectories;
};
