#pragma once

#include "model/TileColors.h"

#include <array>

// The colours a tile background is filled with, top to bottom.
namespace TileFill {

// Gradient mode: the base colour lightened at the top and darkened at the bottom.
std::array<Rgba, 3> gradientStops(const Rgba& base);

// Glass mode: white, more opaque at the top; the base colour plays no part.
std::array<Rgba, 2> glassStops(double opacity, bool lightTheme);

// `color` moved `fraction` of the way towards `target`, keeping its own alpha.
Rgba blended(const Rgba& color, const Rgba& target, double fraction);

} // namespace TileFill
