#pragma once

#include "model/Enums.h"
#include "platform/DockMetrics.h"
#include "platform/Screens.h"

#include <QPointF>
#include <QSizeF>

#include <optional>

class DockHeight;

// Where the popup goes, in y-up screen coordinates. Pure functions of the screens, the mouse and
// the Dock's sizes; what they learn about the Dock they keep in `memory`.
namespace PopupPlacement {

// The Dock's sizes from its preferences.
struct DockSizes {
    std::optional<double> tileSize;
    std::optional<double> largeSize;
    bool magnification = false;
};

// What the dock the user runs says of itself, where it is not the Linux Dock: its edge and the
// side of its icons. Such a dock need not reserve its edge, so this stands in for the gap of
// the visible frame where there is none.
struct HostGeometry {
    DockEdge edge = DockEdge::Bottom;
    double iconSize = DockMetrics::defaultTileSize;
};

// What placement remembers between openings: the Dock's height and the edge it was last seen on.
struct Memory {
    DockHeight& dockHeight;
    DockEdge lastDockEdge = DockEdge::Bottom;
};

inline constexpr double edgeMargin = 8.0;   // from the visible frame's ends along the Dock
inline constexpr double sideDockGap = 11.0; // between a side Dock and the popup
// The Dock's own tile size when its preferences name none, for the magnification lift.
inline constexpr double tileSizeFallback = DockMetrics::defaultTileSize;

// The edge whose visible frame leaves a gap. A bottom gap wins; without any gap (a hidden Dock)
// the answer is the bottom, and nothing is remembered.
DockEdge detectDockEdge(const ScreenFrames& screen, Memory& memory);
// The same, except that without any gap the host's edge is the answer when a host tells one.
DockEdge dockEdge(const ScreenFrames& screen, const std::optional<HostGeometry>& host, Memory& memory);
// How far a dock that reserves no edge stands out from the screen's edge: its icons and, as the
// Linux Dock has, its margins and running indicators.
double hostThickness(const HostGeometry& host);

struct AboveDock {
    QPointF origin;     // the panel's lower-left corner
    double arrowOffset; // the tip's shift from the panel's middle, in the view's own coordinates
};

// A panel of `size` next to the Dock, aimed at `mouse` (where the opening click was, or the
// tile a host says was clicked): on the first screen that holds the point, else the main screen,
// else a screen of no size. With a `host`, a screen without a gap has the dock at the host's edge,
// `hostThickness` deep, and the host's icon size stands in for `dock.tileSize`.
AboveDock popupOriginAboveDock(QSizeF size, QPointF mouse, const QList<ScreenFrames>& screens,
                               const std::optional<ScreenFrames>& mainScreen, const DockSizes& dock, Memory& memory,
                               const std::optional<HostGeometry>& host = std::nullopt);

// The largest panel `popupOriginAboveDock` keeps inside the visible frame of the screen under
// `mouse`: `edgeMargin` from its ends, and above the lift over a bottom Dock.
QSizeF roomAboveDock(QPointF mouse, const QList<ScreenFrames>& screens, const std::optional<ScreenFrames>& mainScreen,
                     const DockSizes& dock, Memory& memory, const std::optional<HostGeometry>& host = std::nullopt);
// The largest panel that stays `edgeMargin` inside a screen's visible frame when centred on it.
QSizeF roomCentred(const ScreenFrames& screen);

// Whether the pointer is off the strip that a Dock keeps at a screen's edge, so that the popup
// was not opened by a click on its tile (but, say, from the keyboard). Where no screen keeps such
// a strip nothing can be told, and the answer is no.
bool pointerAwayFromDock(QPointF mouse, const QList<ScreenFrames>& screens);

// Whether any screen keeps a strip at its bottom, left or right edge, as a dock does.
bool dockReservesAnEdge(const QList<ScreenFrames>& screens);

// A panel of `size` centred on a screen's visible frame.
QPointF centredOrigin(QSizeF size, const ScreenFrames& screen);

} // namespace PopupPlacement
