#pragma once

#include "model/Enums.h"

#include <QPainterPath>
#include <QRectF>

// The popup's outline when it stands next to the Dock: a rounded rectangle with a triangular
// arrow on the Dock's side, its tip `arrowOffset` from the middle of that side (x to the right,
// or y downward for a side Dock) and never closer to a corner than cornerRadius + arrowWidth/2.
// View coordinates: y grows downward.
struct PopupShape {
    DockEdge edge = DockEdge::Bottom;
    double cornerRadius = 18.0;
    double arrowWidth = 24.0;
    double arrowHeight = 12.0;
    double arrowOffset = 0.0;

    QPainterPath path(const QRectF& rect) const;
};
