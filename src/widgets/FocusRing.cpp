#include "FocusRing.h"

#include <QPainter>
#include <QPen>

QColor FocusRing::color() {
    return QColor::fromRgbF(0.0f, 0.478f, 1.0f, 0.85f);
}

void FocusRing::paint(QPainter& painter, const QPainterPath& outline) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(color(), 2.0));
    painter.drawPath(outline);
    painter.restore();
}
