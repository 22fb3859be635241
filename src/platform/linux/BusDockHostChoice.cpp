#include "platform/linux/BusDockHostChoice.h"

#include "platform/Protocol.h"
#include "platform/linux/GnomeShellNames.h"
#include "platform/linux/PlankBus.h"
#include "platform/linux/PlasmaNames.h"

#include <QDBusConnectionInterface>

namespace BusDockHostChoice {

DockHostChoice::Session sessionOn(const QDBusConnection& bus, const QString& currentDesktop) {
    DockHostChoice::Session session;
    session.currentDesktop = currentDesktop;
    if (QDBusConnectionInterface* daemon = bus.interface()) {
        session.plankRuns = daemon->isServiceRegistered(PlankBus::service).value();
        session.gnomeShellRuns = daemon->isServiceRegistered(GnomeShellNames::service).value();
        session.plasmaRuns = daemon->isServiceRegistered(PlasmaNames::service).value();
        session.trellinDockRuns = daemon->isServiceRegistered(Protocol::Bus::dockService).value();
    }
    return session;
}

QString choose(const QDBusConnection& bus, const QString& setting) {
    return DockHostChoice::choose(setting, sessionOn(bus, qEnvironmentVariable("XDG_CURRENT_DESKTOP")));
}

} // namespace BusDockHostChoice
