#pragma once

#include <QColor>
#include <QPainterPath>

class QPainter;
class QPalette;
class QWidget;

// The ring that shows which control the keyboard works on.
namespace FocusRing {

// The ring's width and the gap that keeps it off the control, so it shows even around a control
// filled with the accent.
constexpr double width = 2;
constexpr double gap = 1.5;
// What a control leaves free around its outline for a ring drawn outside it.
constexpr double room = width + gap + 0.5;

// Whether `widget` shows its ring: it has focus, and the keyboard brought it there. A click
// gives focus without a ring, as does focus set while the mouse was last used; a window coming
// back to the front keeps what its control showed.
bool shows(const QWidget& widget);

// A colour apart from the accent, with 3:1 and more against the window and the cards.
QColor color(const QPalette& palette);
// The platform's keyboard-focus blue.
QColor color();
// A 2-point ring just outside `outline`.
void paint(QPainter& painter, const QPainterPath& outline);

// The ring `gap` outside `outline`; the control leaves `room` around the outline for it.
void paintAround(QPainter& painter, const QPainterPath& outline, const QPalette& palette);
// For a control that fills its whole widget: the ring along the inside of `outline`, with a gap
// in the card colour between it and the control's fill.
void paintInside(QPainter& painter, const QPainterPath& outline, const QPalette& palette);

} // namespace FocusRing
