#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One folder of the desktop's own application grid, as the desktop keeps it.
struct DesktopAppFolder {
    QString id;               // the desktop's key for the folder ("Utilities")
    QString name;             // a display name, or with `translate` a desktop-directory file name
    QStringList apps;         // desktop file ids ("org.gnome.TextEditor.desktop"), in their order
    QStringList categories;   // entries of these categories belong to the folder too
    QStringList excludedApps; // ... except these desktop file ids
    bool translate = false;   // `name` is a desktop-directory file whose Name is shown

    bool operator==(const DesktopAppFolder&) const = default;
};

// The folders a desktop's application grid sorts applications into (GNOME's app folders). A
// desktop that has none, or does not know of them, gives an empty list.
class DesktopAppFolders {
public:
    virtual ~DesktopAppFolders() = default;
    // In the desktop's order; read anew each call.
    virtual QList<DesktopAppFolder> folders() const = 0;
};
