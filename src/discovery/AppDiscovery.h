#pragma once

#include "model/AppItem.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class DesktopEntries;

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

private:
    Sources m_sources;
};
