// Desktop entries as the application picker finds them: any bytes as a .desktop file in the
// user's applications folder, scanned through GIO into picker items.
#include "FuzzSupport.h"

#include "discovery/AppDiscovery.h"
#include "platform/linux/GioDesktopEntries.h"

#include <QDir>
#include <QFile>

namespace {

QString entryPath() {
    return Fuzz::path(QStringLiteral("data/applications/org.example.Fuzz.desktop"));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // GIO reads the XDG variables once, so the private folders are set before its first scan;
    // nothing of the machine's own desktop may come into the scan.
    const auto setPath = [](const char* variable, const QString& relative) {
        const QString path = Fuzz::path(relative);
        QDir().mkpath(path);
        qputenv(variable, QFile::encodeName(path));
    };
    setPath("XDG_DATA_HOME", QStringLiteral("data"));
    setPath("XDG_DATA_DIRS", QStringLiteral("system-data"));
    setPath("XDG_CONFIG_HOME", QStringLiteral("config"));
    setPath("XDG_CONFIG_DIRS", QStringLiteral("system-config"));
    QDir().mkpath(Fuzz::path(QStringLiteral("data/applications")));
    QDir().mkpath(Fuzz::path(QStringLiteral("bundles")));
    qputenv("XDG_CURRENT_DESKTOP", "FuzzDesk");
    return 0;
}

// GIO lists the folder's file names from a cache, but reads each entry afresh on every scan, so
// rewriting the one file is enough for the next input.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Fuzz::writeFile(entryPath(), Fuzz::bytes(data, size));
    const GioDesktopEntries entries;
    for (const QString& language : {QString(), QStringLiteral("uk")}) {
        const AppDiscovery discovery({.bundleDirectories = {Fuzz::path(QStringLiteral("bundles"))},
                                      .desktopEntries = &entries,
                                      .language = [&language] { return language; }});
        const QList<AppItem> items = discovery.scanApplications();
        Fuzz::require(items.size() <= 1, "one entry gave several items");
        for (const AppItem& item : items) {
            Fuzz::require(item.bundleID == QStringLiteral("org.example.Fuzz"), "the item has another id",
                          item.bundleID);
            Fuzz::require(item.path() == entryPath(), "the item names another file", item.appURL);
        }
    }
    return 0;
}
