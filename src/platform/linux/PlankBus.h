#pragma once

#include <QString>

// Where Plank answers on the session bus and keeps its settings (its first dock, the one it starts).
namespace PlankBus {

inline const QString service = QStringLiteral("net.launchpad.plank");
inline const QString path = QStringLiteral("/net/launchpad/plank/dock1");
inline const QString interface = QStringLiteral("net.launchpad.plank.Items");

inline const QString settingsSchema = QStringLiteral("net.launchpad.plank.dock.settings");
inline const QString settingsPath = QStringLiteral("/net/launchpad/plank/docks/dock1/");
inline const QString positionKey = QStringLiteral("position");
inline const QString iconSizeKey = QStringLiteral("icon-size");

} // namespace PlankBus
