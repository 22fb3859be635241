#pragma once

#include <QString>

class Localization;

// How the settings pages write a slider's value in the box beside it.
namespace SettingsFormats {

// A fraction as a whole percentage: 0.75 → "75%". Truncated, not rounded, but a value a hair under a
// whole percent through binary arithmetic (0.57 × 100 = 56.99…) still counts as that percent.
QString percentText(double fraction);
// A size truncated toward zero to whole points, in the language's words: 52.9 → "52 pt" / "52 пт".
QString pointsText(const Localization& localization, double points);
// A width with exactly one fraction digit, written the language's way: "1.5" / "1,5".
QString borderWidthText(const Localization& localization, double width);

} // namespace SettingsFormats
