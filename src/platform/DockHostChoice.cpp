#include "platform/DockHostChoice.h"

#include "platform/DockHostIds.h"

#include <QStringList>

#include <algorithm>

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

bool isPlasmaDesktop(const QString& currentDesktop) {
    const QStringList names = currentDesktop.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    return std::any_of(names.begin(), names.end(), [](const QString& name) {
        return name.trimmed().compare(QLatin1String("KDE"), Qt::CaseInsensitive) == 0;
    });
}

QString choose(const QString& setting, const Session& session) {
    if (setting == DockHostIds::gnomeShell || setting == DockHostIds::plank || setting == DockHostIds::kdePlasma ||
        setting == DockHostIds::trellinDock)
        return setting;
    if (session.plankRuns)
        return DockHostIds::plank;
    if (session.gnomeShellRuns)
        return DockHostIds::gnomeShell;
    if (session.plasmaRuns)
        return DockHostIds::kdePlasma;
    if (session.trellinDockRuns)
        return DockHostIds::trellinDock;
    if (isGnomeShellDesktop(session.currentDesktop))
        return DockHostIds::gnomeShell;
    return isPlasmaDesktop(session.currentDesktop) ? DockHostIds::kdePlasma : DockHostIds::trellinDock;
}

} // namespace DockHostChoice
