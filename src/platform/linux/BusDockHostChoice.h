#pragma once

#include "platform/DockHostChoice.h"

#include <QDBusConnection>

// The dock host for this session: who owns Plank's, GNOME Shell's, KDE Plasma's and the Linux Dock's names on
// the session bus now, decided by DockHostChoice.
namespace BusDockHostChoice {

DockHostChoice::Session sessionOn(const QDBusConnection& bus, const QString& currentDesktop);
// With $XDG_CURRENT_DESKTOP of this process.
QString choose(const QDBusConnection& bus, const QString& setting);

} // namespace BusDockHostChoice
