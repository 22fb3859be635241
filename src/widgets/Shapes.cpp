#include "Shapes.h"

#include <algorithm>

namespace {

// Where a corner's curve begins, as a multiple of the radius along each edge, and where its
// two control points sit, measured from the corner.
constexpr double kReach = 1.28;
constexpr double kControl = 0.20;

} // namespace

QPainterPath Shapes::continuousRoundedRect(const QRectF& rect, double radius) {
    QPainterPath path;
    const double r = std::clamp(radius, 0.0, std::min(rect.width(), rect.height()) / (2.0 * kReach));
    if (r <= 0) {
        path.addRect(rect);
        return path;
    }
    const double a = r * kReach;
    const double c = r * kControl;
    const double l = rect.left(), t = rect.top(), ri = rect.right(), b = rect.bottom();
    path.moveTo(l + a, t);
    path.lineTo(ri - a, t);
    path.cubicTo(ri - c, t, ri, t + c, ri, t + a);
    path.lineTo(ri, b - a);
    path.cubicTo(ri, b - c, ri - c, b, ri - a, b);
    path.lineTo(l + a, b);
    path.cubicTo(l + c, b, l, b - c, l, b - a);
    path.lineTo(l, t + a);
    path.cubicTo(l, t + c, l + c, t, l + a, t);
    path.closeSubpath();
    return path;
}
