#pragma once

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QPointF>

class QPainter;

// A soft shadow of an outline, the way the platform's layer shadows look: the outline filled in
// the shadow's colour, blurred by `radius` points and drawn `offset` away.
struct ShadowStyle {
    QColor color;
    double radius = 0;
    QPointF offset;
};

namespace Shadow {

// The blurred outline on an image `margin` points larger than the outline's bounds on every
// side; draw it with `paint`. A blur has no fine detail, so the image is kept at a quarter of the
// points' resolution and smoothed up when drawn: a sixteenth of the memory of a full-size one.
QImage render(const QPainterPath& outline, const ShadowStyle& style);
// Room a shadow needs around its outline.
double margin(const ShadowStyle& style);
void paint(QPainter& painter, const QPainterPath& outline, const QImage& rendered, const ShadowStyle& style);

} // namespace Shadow
