#pragma once

// Sizes of the Dock that programs on either side of it rely on.
namespace DockMetrics {

// How much thicker than its tiles the Dock stands (its margins and the running indicators), so
// the Dock reserves tile size + this at its screen edge.
inline constexpr int thicknessAboveTiles = 18;
// The tile size the Dock uses when its preferences name none.
inline constexpr int defaultTileSize = 48;

} // namespace DockMetrics
