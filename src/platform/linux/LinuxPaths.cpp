#include "LinuxPaths.h"

#include <QDir>

QString LinuxPaths::applicationSupportDirectory() {
    const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    // Relative XDG paths are invalid and must be ignored.
    if (!dataHome.isEmpty() && QDir::isAbsolutePath(dataHome))
        return dataHome;
    return QDir::homePath() + QStringLiteral("/.local/share");
}
