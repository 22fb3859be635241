#include "platform/DockHostChoice.h"

#include "platform/DockHostIds.h"

#include <QStringList>

namespace DockHostChoice {

bool isGnomeShellDesktop(const QString& currentDesktop) {
    const QStringList names = currentDesktop.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    // GNOME Flashback names GNOME too, but its panel is no GNOME Shell.
    for (const QString& name : names) {
        if (name.trimmed().compare(QLatin1String("GNOME-Flashback"), Qt::CaseInsensitive) == 0)
            return false;
    }
    for (const QString& name : names) {
        if (name.trimmed().compare(QLatin1String("GNOME"), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QString choose(const QString& setting, const Session& session) {
    if (setting == DockHostIds::gnomeShell || setting == DockHostIds::plank || setting == DockHostIds::trellinDock)
        return setting;
    if (session.plankRuns)
        return DockHostIds::plank;
    if (session.gnomeShellRuns)
        return DockHostIds::gnomeShell;
    if (session.trellinDockRuns)
        return DockHostIds::trellinDock;
    return isGnomeShellDesktop(session.currentDesktop) ? DockHostIds::gnomeShell : DockHostIds::trellinDock;
}

} // namespace DockHostChoice
