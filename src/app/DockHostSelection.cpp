#include "DockHostSelection.h"

#include "platform/DockHost.h"
#include "platform/DockHostIds.h"
#include "platform/linux/BusDockHostChoice.h"
#include "platform/linux/GnomeShellDockHost.h"
#include "platform/linux/ModuleDesktopEntries.h"
#include "platform/linux/ModuleDesktopSettings.h"
#include "platform/linux/PlankDockHost.h"
#include "platform/linux/PlasmaDockHost.h"

#include <QDBusConnection>

QString DockHostSelection::hostId(const QString& setting) {
    return BusDockHostChoice::choose(QDBusConnection::sessionBus(), setting);
}

std::unique_ptr<DockHost> DockHostSelection::create(const QString& id, const QString& bundlePath,
                                                    const QString& entriesDirectory) {
    const QDBusConnection bus = QDBusConnection::sessionBus();
    // Settings are read through the GIO module, loaded only when first asked.
    const auto settings = [&bundlePath] {
        return std::make_unique<ModuleDesktopSettings>(ModuleDesktopEntries::modulePathIn(bundlePath));
    };
    if (id == DockHostIds::plank)
        return std::make_unique<PlankDockHost>(bus, entriesDirectory, settings());
    if (id == DockHostIds::gnomeShell)
        return std::make_unique<GnomeShellDockHost>(bus, settings(), qEnvironmentVariable("XDG_CURRENT_DESKTOP"));
    if (id == DockHostIds::kdePlasma)
        return PlasmaDockHost::create(bus, entriesDirectory);
    return nullptr;
}

DockHostSelection::Choice DockHostSelection::choose(const QString& setting, const QString& bundlePath,
                                                    const QString& entriesDirectory) {
    Choice choice{create(hostId(setting), bundlePath, entriesDirectory), {}};
    if (!choice.host) {
        choice.line = QStringLiteral("[DockHost] The Dock is trellin-dock");
        return choice;
    }
    choice.line = QStringLiteral("[DockHost] The Dock is %1").arg(choice.host->displayName());
    if (!choice.host->isRunning())
        choice.line += QStringLiteral(" (not running yet: waiting for it)");
    return choice;
}

HelperDockHost::HelperDockHost(QString id, QString bundlePath, QString entriesDirectory)
    : m_id(std::move(id))
    , m_bundlePath(std::move(bundlePath))
    , m_entriesDirectory(std::move(entriesDirectory)) {}

HelperDockHost::~HelperDockHost() = default;

bool HelperDockHost::isUsersDock() const {
    return m_id == DockHostIds::plank || m_id == DockHostIds::gnomeShell || m_id == DockHostIds::kdePlasma;
}

DockHost& HelperDockHost::host() {
    if (!m_host)
        m_host = DockHostSelection::create(m_id, m_bundlePath, m_entriesDirectory);
    return *m_host;
}
