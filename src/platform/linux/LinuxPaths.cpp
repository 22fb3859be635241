#include "LinuxPaths.h"

#include <QDir>

QString LinuxPaths::applicationSupportDirectory() {
    const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    // The base directory specification ignores relative paths.
    if (!dataHome.isEmpty() && QDir::isAbsolutePath(dataHome))
        return dataHome;
    return QDir::homePath() + QStringLiteral("/.local/share");
}
