#include "LinuxPaths.h"

#include <QDir>

namespace {

QString xdgDirectory(const char* variable, const QString& inHome) {
    const QString directory = qEnvironmentVariable(variable);
    // Relative XDG paths are invalid and must be ignored.
    if (!directory.isEmpty() && QDir::isAbsolutePath(directory))
        return directory;
    return QDir::homePath() + inHome;
}

} // namespace

QString LinuxPaths::applicationSupportDirectory() {
    return xdgDirectory("XDG_DATA_HOME", QStringLiteral("/.local/share"));
}

QString LinuxPaths::cacheDirectory() {
    return xdgDirectory("XDG_CACHE_HOME", QStringLiteral("/.cache"));
}
