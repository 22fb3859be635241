#pragma once

#include "model/AppItem.h"
#include "platform/DesktopEntries.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The applications installed on the machine, for the application picker: bundles from a fixed
// list of directories, then the desktop's entries. No state and no cache: every scan looks again.
class AppDiscovery {
public:
    struct Sources {
        QStringList bundleDirectories; // scanned in this order; the first holder of an identifier wins
        const DesktopEntries* desktopEntries = nullptr;
        std::function<QString()> language; // the interface language code, for names and their order
    };

    // The six directories bundles are looked for in, `home` being the user's home directory.
    static QStringList standardDirectories(const QString& home);

    explicit AppDiscovery(Sources sources);

    // One item per bundle identifier, fresh ids each call, sorted by name without regard to case
    // in the interface language's collation. Main thread.
    QList<AppItem> scanApplications() const;
    // The item for the bundle at `path`, or none when it is no bundle or has no identifier.
    static std::optional<AppItem> makeAppItem(const QString& path);
    // The item for a desktop entry, or none for Trellin's own launchers: the main application's,
    // and each folder's, which would put a folder inside a folder.
    static std::optional<AppItem> makeEntryItem(const DesktopEntries::Entry& entry);
    // Whether `fileName` ("trellin.desktop") names one of Trellin's own launchers.
    static bool isOwnLauncher(const QString& fileName);

private:
    Sources m_sources;
};
