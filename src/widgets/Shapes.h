#pragma once

#include <QPainterPath>
#include <QRectF>

// Outlines shared by the interface's cards and buttons.
namespace Shapes {

// A rectangle with continuous corners: each corner's curve starts further along the edges than
// a circular arc of the same radius would and bends in gradually, so edge and corner meet
// without a visible kink. The radius is limited to what the rectangle can hold.
QPainterPath continuousRoundedRect(const QRectF& rect, double radius);

} // namespace Shapes
