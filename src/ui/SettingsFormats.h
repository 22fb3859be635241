#pragma once

#include <QString>

class Localization;

// How the settings pages write a slider's value in the box beside it.
namespace SettingsFormats {

// A fraction as the nearest whole percentage: 0.75 → "75%", 0.999 → "100%".
QString percentText(double fraction);
// A size as the nearest whole points, in the language's words: 52.9 → "53 pt" / "53 пт".
QString pointsText(const Localization& localization, double points);
// A width with exactly one fraction digit, written the language's way: "1.5" / "1,5".
QString borderWidthText(const Localization& localization, double width);

} // namespace SettingsFormats
