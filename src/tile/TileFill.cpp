#include "TileFill.h"

#include <algorithm>

Rgba TileFill::blended(const Rgba& color, const Rgba& target, double fraction) {
    const auto mix = [fraction](double from, double to) { return from + (to - from) * fraction; };
    return {mix(color.red, target.red), mix(color.green, target.green), mix(color.blue, target.blue), color.alpha};
}

std::array<Rgba, 3> TileFill::gradientStops(const Rgba& base) {
    const Rgba white{1, 1, 1, 1};
    const Rgba black{0, 0, 0, 1};
    Rgba top = blended(base, white, 0.62);
    top.alpha = std::min(base.alpha + 0.12, 1.0);
    const Rgba middle = blended(base, white, 0.18);
    Rgba bottom = blended(base, black, 0.42);
    bottom.alpha = std::max(base.alpha * 0.92, 0.12);
    return {top, middle, bottom};
}

std::array<Rgba, 2> TileFill::glassStops(double opacity, bool lightTheme) {
    const double topAlpha = lightTheme ? 0.88 : 0.45;
    const double bottomAlpha = lightTheme ? 0.6 : 0.2;
    return {Rgba{1, 1, 1, topAlpha * opacity}, Rgba{1, 1, 1, bottomAlpha * opacity}};
}
