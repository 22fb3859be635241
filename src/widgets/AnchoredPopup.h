#pragma once

#include <QPoint>

class QWidget;

namespace AnchoredPopup {

enum class Edge { Leading, Trailing };

// Where `popup` opens for `anchor`: `gap` below it, lined up with its leading or trailing edge;
// above it when there is no room below, and kept on the anchor's screen.
QPoint position(const QWidget& popup, const QWidget* anchor, int gap, Edge edge);

} // namespace AnchoredPopup
