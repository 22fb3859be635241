#pragma once

#include <QList>
#include <QPointF>
#include <QRect>
#include <QRectF>

#include <optional>

// One screen's frame and the part of it that windows may use (what the Dock and panels leave),
// both in y-up coordinates: x and y are the rectangle's lower-left corner, and the origin is the
// lower-left corner of the primary screen.
struct ScreenFrames {
    QRectF frame;
    QRectF visibleFrame;

    friend bool operator==(const ScreenFrames&, const ScreenFrames&) = default;
};

// The screens and the mouse, as the popup's placement sees them.
class Screens {
public:
    virtual ~Screens() = default;

    // In the system's order; the primary screen first.
    virtual QList<ScreenFrames> screens() const = 0;
    // The screen the system puts new windows on; none without screens.
    virtual std::optional<ScreenFrames> mainScreen() const = 0;
    // Where the mouse is, in the same coordinates.
    virtual QPointF mouseLocation() const = 0;
    // Whether a window's transparent pixels show what lies behind it (a compositing window
    // manager runs); when not, a shaped window must cut its outline out instead.
    virtual bool showsTranslucentWindows() const = 0;
    // Window geometry (y-down, the window system's) to and from these coordinates.
    virtual QRectF toYUp(const QRect& geometry) const = 0;
    virtual QRect toWindowGeometry(const QRectF& frame) const = 0;
};

// Conversions between y-down window-system coordinates and y-up ones, about the lower edge of
// the primary screen at `primaryBottom` (the y-down coordinate of that edge).
namespace ScreenCoordinates {

inline QPointF toYUp(const QPointF& point, double primaryBottom) {
    return {point.x(), primaryBottom - point.y()};
}
inline QRectF toYUp(const QRectF& rect, double primaryBottom) {
    return {rect.x(), primaryBottom - rect.y() - rect.height(), rect.width(), rect.height()};
}
// The same reflection undoes itself.
inline QRectF toYDown(const QRectF& rect, double primaryBottom) {
    return toYUp(rect, primaryBottom);
}
inline QPointF toYDown(const QPointF& point, double primaryBottom) {
    return toYUp(point, primaryBottom);
}

} // namespace ScreenCoordinates
