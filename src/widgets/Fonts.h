#pragma once

#include <QFont>

// The interface's type.
namespace Fonts {

// The system font's rounded design where the system has a rounded sans, else the system font,
// at a size in points (one point is one device-independent pixel, as on the platform the sizes
// were chosen for). Letters the rounded face lacks come from the system font.
QFont rounded(double points, QFont::Weight weight);

} // namespace Fonts
