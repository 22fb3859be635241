#pragma once

#include <QFont>
#include <QStringList>

// The interface's type.
namespace Fonts {

// The system font's rounded design where the system has one (SF Pro Rounded). Elsewhere the
// rounded Latin face the build makes (latinFamily()), whose Cyrillic letters come from an upright
// face that sits well beside it (cyrillicFamily()), then the system font for everything else;
// the text engine picks the family per character. Sizes are in points (one point is one
// device-independent pixel, as on the platform the sizes were chosen for).
QFont rounded(double points, QFont::Weight weight);

// The families rounded() draws with, in the order a character is looked up.
QStringList families();

// The build's rounded Latin face: Comfortaa without Cyrillic, loaded from the resources on first
// use. Empty when it could not be loaded.
QString latinFamily();

// The face Cyrillic text is drawn in beside latinFamily().
QString cyrillicFamily();

// The weight to ask for so that both faces look alike side by side: the Latin face has a regular
// and a semibold made from Comfortaa's bold, and Cyrillic is drawn in the Cyrillic face's style of
// the same name, whose semibold looks as heavy as Comfortaa's bold.
QFont::Weight pairedWeight(QFont::Weight weight);

} // namespace Fonts
