#pragma once

#include "DockConfiguration.h"

#include <QList>
#include <QRect>

#include <optional>

// Where the Dock's window, bar, tiles and divider lie, worked out from the configuration and the
// screen. Along the screen edge the tiles sit centred; across it they stand on a margin that
// holds the running indicators. A magnified tile grows away from the edge, past the bar, which
// keeps the thickness the Dock reserves. Tiles that would not fit along the edge at their size
// shrink until they do, and the Dock grows thinner with them.
struct DockLayout {
    struct Input {
        DockOrientation orientation = DockOrientation::Bottom;
        int tileSize = DockConfiguration::defaultTileSize;
        int largeSize = DockConfiguration::defaultLargeSize;
        bool magnification = false;
        QRect screen; // global pixels
        int pinnedCount = 0;
        int runningCount = 0; // unpinned running applications, after a divider
        // Where the pointer is along the edge (global x for a bottom Dock, else global y).
        std::optional<int> pointer;
    };

    // The room between the screen edge and the tiles, where the indicators are.
    static constexpr int edgeMargin = 12;
    static constexpr int barPadding = 8;
    // Between a tile and its label: clear of the bar around the tile.
    static constexpr int labelGap = 14;

    QRect screen;       // global
    int tileSize = 0;   // a plain tile's side as shown: the configured one, or less to fit
    QRect window;       // global
    QRect bar;          // in the window
    QList<QRect> tiles; // in the window, pinned first
    std::optional<QRect> divider;
    int reservedThickness = 0; // what the Dock keeps from the screen edge

    static DockLayout compute(const Input& input);
    // The tile under `point` (in the window), or -1.
    int tileAt(QPoint point) const;
    // The running indicator's centre for the tile at `index`, in the window.
    QPoint indicatorCentre(int index, DockOrientation orientation) const;
    // Where a label of `size` stands for the tile at `index`, in global pixels: beside the tile on
    // the side away from the edge, centred on it, and moved along the edge to stay on the screen.
    QRect labelFor(int index, QSize size, DockOrientation orientation) const;
};
