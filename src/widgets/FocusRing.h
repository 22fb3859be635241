#pragma once

#include <QColor>
#include <QPainterPath>

class QPainter;

// The ring that shows which control the keyboard works on.
namespace FocusRing {

// The platform's keyboard-focus blue.
QColor color();
// A 2-point ring just outside `outline`.
void paint(QPainter& painter, const QPainterPath& outline);

} // namespace FocusRing
