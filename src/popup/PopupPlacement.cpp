#include "PopupPlacement.h"

#include "model/DockHeight.h"

#include <algorithm>

namespace {

double minX(const QRectF& r) {
    return r.x();
}
double maxX(const QRectF& r) {
    return r.x() + r.width();
}
double minY(const QRectF& r) {
    return r.y();
}
double maxY(const QRectF& r) {
    return r.y() + r.height();
}
// Mouse-in-rectangle: the lower and left edges belong to the rectangle, the upper and right do not.
bool holds(const QRectF& r, const QPointF& p) {
    return p.x() >= minX(r) && p.x() < maxX(r) && p.y() >= minY(r) && p.y() < maxY(r);
}

// Terms that lift the panel above a bottom Dock, tile and magnification included.
constexpr double kAboveDockTiles = 18.0;
constexpr double kArrowRoom = 5.0;
constexpr double kShadowOverlap = -24.0;
constexpr double kAboveDockTop = 1.0;
constexpr double kLiftDockVisible = 20.0;
constexpr double kLiftDockHidden = 19.0;
constexpr double kGapThreshold = 1.0;

} // namespace

DockEdge PopupPlacement::detectDockEdge(const ScreenFrames& screen, Memory& memory) {
    const QRectF& f = screen.frame;
    const QRectF& v = screen.visibleFrame;
    if (!(minY(f) + kGapThreshold < minY(v))) {
        if (minX(f) + kGapThreshold < minX(v)) {
            memory.lastDockEdge = DockEdge::Left;
            return DockEdge::Left;
        }
        if (maxX(v) < maxX(f) - kGapThreshold) {
            memory.lastDockEdge = DockEdge::Right;
            return DockEdge::Right;
        }
    }
    const double gap = minY(v) - minY(f);
    if (gap > kGapThreshold) {
        memory.dockHeight.store(gap);
        memory.lastDockEdge = DockEdge::Bottom;
    }
    return DockEdge::Bottom;
}

DockEdge PopupPlacement::dockEdge(const ScreenFrames& screen, const std::optional<HostGeometry>& host, Memory& memory) {
    const DockEdge edge = detectDockEdge(screen, memory);
    if (!host || edge != DockEdge::Bottom || minY(screen.visibleFrame) - minY(screen.frame) > kGapThreshold)
        return edge;
    memory.lastDockEdge = host->edge;
    return host->edge;
}

double PopupPlacement::hostThickness(const HostGeometry& host) {
    return host.iconSize + DockMetrics::thicknessAboveTiles;
}

namespace {

// The first screen that holds the point, else the main screen, else a screen of no size.
ScreenFrames screenAt(QPointF mouse, const QList<ScreenFrames>& screens,
                      const std::optional<ScreenFrames>& mainScreen) {
    for (const ScreenFrames& candidate : screens)
        if (holds(candidate.frame, mouse))
            return candidate;
    return mainScreen.value_or(ScreenFrames{});
}

// The host's icons are the tiles of a dock that reserves no edge.
PopupPlacement::DockSizes sizesWith(const PopupPlacement::DockSizes& dock,
                                    const std::optional<PopupPlacement::HostGeometry>& host) {
    if (!host)
        return dock;
    return {host->iconSize, std::nullopt, false};
}

// How far a side dock reaches into the visible frame: nothing when it reserves its edge.
double sideInset(const ScreenFrames& screen, DockEdge edge, const std::optional<PopupPlacement::HostGeometry>& host) {
    const QRectF& f = screen.frame;
    const QRectF& v = screen.visibleFrame;
    const bool reserved =
        edge == DockEdge::Left ? minX(v) - minX(f) > kGapThreshold : maxX(f) - maxX(v) > kGapThreshold;
    return reserved || !host ? 0.0 : PopupPlacement::hostThickness(*host);
}

// How high above a bottom Dock the panel's lower edge stands, tile magnification included.
double bottomDockOriginY(const ScreenFrames& screen, const PopupPlacement::DockSizes& dock,
                         PopupPlacement::Memory& memory) {
    const QRectF& f = screen.frame;
    const QRectF& v = screen.visibleFrame;
    const double gap = minY(v) - minY(f);
    double dockHeight = 0;
    if (gap > kGapThreshold) {
        dockHeight = gap;
    } else {
        dockHeight = dock.tileSize ? *dock.tileSize + DockHeight::aboveTiles : DockHeight::fallback;
        if (!(dockHeight > kGapThreshold))
            dockHeight = memory.dockHeight.cached() > kGapThreshold && memory.lastDockEdge == DockEdge::Bottom
                             ? memory.dockHeight.cached()
                             : DockHeight::fallback;
    }
    memory.dockHeight.store(dockHeight);
    const double dockTop = minY(f) + dockHeight;
    const double t0 = dock.tileSize.value_or(PopupPlacement::tileSizeFallback);
    const double magnified = dock.magnification && dock.largeSize ? std::max(*dock.largeSize, t0) : t0;
    // Without a tile size the Dock draws its default one, so magnified tiles still rise above it.
    const double extra = std::max(0.0, magnified - t0);
    const double a = dockTop + kAboveDockTiles + extra + kArrowRoom + kShadowOverlap;
    const double b = dockTop + kAboveDockTop;
    return std::max(a, b) + (gap > kGapThreshold ? kLiftDockVisible : kLiftDockHidden);
}

} // namespace

PopupPlacement::AboveDock PopupPlacement::popupOriginAboveDock(QSizeF size, QPointF mouse,
                                                               const QList<ScreenFrames>& screens,
                                                               const std::optional<ScreenFrames>& mainScreen,
                                                               const DockSizes& dock, Memory& memory,
                                                               const std::optional<HostGeometry>& host) {
    const double w = size.width(), h = size.height();
    const double mx = mouse.x(), my = mouse.y();
    const ScreenFrames screen = screenAt(mouse, screens, mainScreen);
    const QRectF& v = screen.visibleFrame;

    const DockEdge edge = dockEdge(screen, host, memory);
    if (edge == DockEdge::Bottom) {
        double x = mx - w / 2;
        x = std::max(x, minX(v) + edgeMargin);
        x = std::min(x, maxX(v) - w - edgeMargin);
        return {{x, bottomDockOriginY(screen, sizesWith(dock, host), memory)}, (mx - w / 2) - x};
    }
    double y = my - h / 2;
    y = std::max(y, minY(v) + edgeMargin);
    y = std::min(y, maxY(v) - h - edgeMargin);
    const double inset = sideInset(screen, edge, host);
    const double x = edge == DockEdge::Left ? minX(v) + inset + sideDockGap : maxX(v) - inset - w - sideDockGap;
    // The view measures y downward: positive when the mouse lies below the panel's middle.
    return {{x, y}, y - (my - h / 2)};
}

QSizeF PopupPlacement::roomAboveDock(QPointF mouse, const QList<ScreenFrames>& screens,
                                     const std::optional<ScreenFrames>& mainScreen, const DockSizes& dock,
                                     Memory& memory, const std::optional<HostGeometry>& host) {
    const ScreenFrames screen = screenAt(mouse, screens, mainScreen);
    const QRectF& v = screen.visibleFrame;
    const DockEdge edge = dockEdge(screen, host, memory);
    if (edge == DockEdge::Bottom)
        return {std::max(0.0, v.width() - 2 * edgeMargin),
                std::max(0.0, maxY(v) - edgeMargin - bottomDockOriginY(screen, sizesWith(dock, host), memory))};
    return {std::max(0.0, v.width() - sideInset(screen, edge, host) - sideDockGap - edgeMargin),
            std::max(0.0, v.height() - 2 * edgeMargin)};
}

QSizeF PopupPlacement::roomCentred(const ScreenFrames& screen) {
    const QRectF& v = screen.visibleFrame;
    return {std::max(0.0, v.width() - 2 * edgeMargin), std::max(0.0, v.height() - 2 * edgeMargin)};
}

namespace {

struct Gaps {
    bool bottom, left, right;
    bool any() const { return bottom || left || right; }
};

Gaps gapsOf(const ScreenFrames& screen) {
    const QRectF& f = screen.frame;
    const QRectF& v = screen.visibleFrame;
    return {minY(v) - minY(f) > kGapThreshold, minX(v) - minX(f) > kGapThreshold, maxX(f) - maxX(v) > kGapThreshold};
}

} // namespace

bool PopupPlacement::dockReservesAnEdge(const QList<ScreenFrames>& screens) {
    return std::any_of(screens.begin(), screens.end(), [](const ScreenFrames& screen) { return gapsOf(screen).any(); });
}

bool PopupPlacement::pointerAwayFromDock(QPointF mouse, const QList<ScreenFrames>& screens) {
    bool dockShows = false;
    for (const ScreenFrames& screen : screens) {
        const QRectF& f = screen.frame;
        const QRectF& v = screen.visibleFrame;
        const auto [bottom, left, right] = gapsOf(screen);
        dockShows = dockShows || bottom || left || right;
        if (holds(f, mouse) &&
            ((bottom && mouse.y() < minY(v)) || (left && mouse.x() < minX(v)) || (right && mouse.x() >= maxX(v))))
            return false;
    }
    return dockShows;
}

QPointF PopupPlacement::centredOrigin(QSizeF size, const ScreenFrames& screen) {
    const QRectF& v = screen.visibleFrame;
    return {v.center().x() - size.width() / 2, v.center().y() - size.height() / 2};
}
