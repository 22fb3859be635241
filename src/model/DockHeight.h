#pragma once

#include "platform/DockMetrics.h"

#include <optional>

// The Dock's height in points as last worked out, 0 until then. Start-up and Dock watching
// derive it from the Dock's tile size; the popup measures it from the screen and reads it back
// when the screen shows no Dock.
class DockHeight {
public:
    // The height when the Dock's preferences give no tile size, and how much taller than its
    // tiles the Dock stands otherwise.
    static constexpr double fallback = 64.0;
    static constexpr double aboveTiles = DockMetrics::thicknessAboveTiles;

    double cached() const { return m_cached; }
    // Keeps a height only when it is positive.
    void store(double height) {
        if (height > 0)
            m_cached = height;
    }
    void storeFromTileSize(const std::optional<double>& tileSize) {
        store(tileSize ? *tileSize + aboveTiles : fallback);
    }

private:
    double m_cached = 0;
};
