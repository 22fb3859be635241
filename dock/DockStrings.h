#pragma once

#include <QString>

// The Dock's few words, in the language of the desktop session.
namespace DockStrings {

QString keepInDock();
QString removeFromDock();
QString quit();
QString dockName();

} // namespace DockStrings
