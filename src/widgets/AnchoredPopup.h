#pragma once

#include <QPoint>
#include <QSize>

class QScreen;
class QWidget;

namespace AnchoredPopup {

enum class Edge { Leading, Trailing };

// Where a popup of `size` opens for `anchor`: `gap` below it, lined up with its leading or
// trailing edge; above it when there is no room below, and kept on the anchor's screen (on
// `screen` without an anchor).
QPoint position(QSize size, const QScreen* screen, const QWidget* anchor, int gap, Edge edge);
// The same for the whole of `popup`.
QPoint position(const QWidget& popup, const QWidget* anchor, int gap, Edge edge);

} // namespace AnchoredPopup
