#include "PopupShape.h"

#include <algorithm>

QPainterPath PopupShape::path(const QRectF& rect) const {
    const double r = cornerRadius;
    const double half = arrowWidth / 2;
    double top = rect.top(), bottom = rect.bottom(), left = rect.left(), right = rect.right();
    switch (edge) {
    case DockEdge::Bottom:
        bottom -= arrowHeight;
        break;
    case DockEdge::Left:
        left += arrowHeight;
        break;
    case DockEdge::Right:
        right -= arrowHeight;
        break;
    }
    const double sideLength = edge == DockEdge::Bottom ? rect.width() : rect.height();
    const double limit = sideLength / 2 - r - half;
    const double o = std::min(std::max(arrowOffset, -limit), limit);
    const double midX = rect.center().x(), midY = rect.center().y();
    const double d = 2 * r;

    // Clockwise on screen; Qt's arcs sweep clockwise for negative angles.
    QPainterPath path;
    path.moveTo(left + r, top);
    path.lineTo(right - r, top);
    path.arcTo(QRectF(right - d, top, d, d), 90, -90);
    if (edge == DockEdge::Right) {
        path.lineTo(right, midY + o - half);
        path.lineTo(rect.right(), midY + o);
        path.lineTo(right, midY + o + half);
    }
    path.lineTo(right, bottom - r);
    path.arcTo(QRectF(right - d, bottom - d, d, d), 0, -90);
    if (edge == DockEdge::Bottom) {
        path.lineTo(midX + o + half, bottom);
        path.lineTo(midX + o, rect.bottom());
        path.lineTo(midX + o - half, bottom);
    }
    path.lineTo(left + r, bottom);
    path.arcTo(QRectF(left, bottom - d, d, d), -90, -90);
    if (edge == DockEdge::Left) {
        path.lineTo(left, midY + o + half);
        path.lineTo(rect.left(), midY + o);
        path.lineTo(left, midY + o - half);
    }
    path.lineTo(left, top + r);
    path.arcTo(QRectF(left, top, d, d), 180, -90);
    path.closeSubpath();
    return path;
}
