#include "DockHostSelection.h"

#include "platform/DockHost.h"
#include "platform/DockHostIds.h"
#include "platform/linux/BusDockHostChoice.h"
#include "platform/linux/GnomeShellDockHost.h"
#include "platform/linux/ModuleDesktopEntries.h"
#include "platform/linux/ModuleDesktopSettings.h"
#include "platform/linux/PlankDockHost.h"

#include <QDBusConnection>

DockHostSelection::Choice DockHostSelection::choose(const QString& setting, const QString& bundlePath,
                                                    const QString& entriesDirectory) {
    const QDBusConnection bus = QDBusConnection::sessionBus();
    const QString id = BusDockHostChoice::choose(bus, setting);
    // Settings are read through the GIO module, loaded only when first asked.
    const auto settings = [&bundlePath] {
        return std::make_unique<ModuleDesktopSettings>(ModuleDesktopEntries::modulePathIn(bundlePath));
    };
    Choice choice;
    if (id == DockHostIds::plank)
        choice.host = std::make_unique<PlankDockHost>(bus, entriesDirectory, settings());
    else if (id == DockHostIds::gnomeShell)
        choice.host =
            std::make_unique<GnomeShellDockHost>(bus, settings(), qEnvironmentVariable("XDG_CURRENT_DESKTOP"));
    if (!choice.host) {
        choice.line = QStringLiteral("[DockHost] The Dock is trellin-dock");
        return choice;
    }
    choice.line = QStringLiteral("[DockHost] The Dock is %1").arg(choice.host->displayName());
    if (!choice.host->isRunning())
        choice.line += QStringLiteral(" (not running yet: waiting for it)");
    return choice;
}
