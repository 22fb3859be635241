#pragma once

// Sizes of the Dock that programs on either side of it rely on.
namespace DockMetrics {

// How much thicker than its tiles the Dock stands (its margins and the running indicators), so
// the Dock reserves tile size + this at its screen edge.
inline constexpr int thicknessAboveTiles = 18;

} // namespace DockMetrics
