#pragma once

#include "model/TileColors.h"

#include <QColor>
#include <QString>

// The colour rules of the tile page: how a picked colour is stored, when a swatch counts as the
// current colour, and where a swipe across the preview strip lands.
namespace TileColorHex {

// The stored form of a colour, "RRGGBB" in upper case: each component × 255, halves rounded away
// from zero. Components outside 0…1 are clamped first so the text always has six digits.
QString hexString(const Rgba& color);
// As above; a colour that cannot be read as RGB (an invalid one) is taken as white.
QString hexString(const QColor& color);

// The colour as RGB components, white when it cannot be read as RGB.
Rgba deviceRgb(const QColor& color);
QColor toQColor(const Rgba& color);

// Whether two colours differ by less than 0.02 in each of red, green and blue.
bool isSameSwatch(const QColor& a, const QColor& b);

// How far a release must be predicted to travel, in points, to move to a neighbouring folder.
inline constexpr double swipeThreshold = 150 * 0.34;

// The folder index a horizontal swipe ends on: the next one when the predicted end translation is
// below −swipeThreshold, the previous one above +swipeThreshold, else the current one; always
// within 0…count − 1 (−1 when there are no folders).
int swipeTarget(int currentIndex, int count, double predictedEndTranslation);

} // namespace TileColorHex
