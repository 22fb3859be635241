#pragma once

#include "ColorScheme.h"

#include <QColor>
#include <QPalette>

class QPainter;
class QRectF;

class QWidget;

// The main window's colours for each appearance. They travel in a widget's palette, so every child
// follows a theme change the moment the window's palette is set; custom-drawn widgets read these
// roles:
//   Window            the window's background
//   Base              a card or a dialog panel
//   AlternateBase     a control's resting fill (a field, a segment track, a secondary button)
//   Mid               hairlines: card borders, separators
//   Dark              an edge that must stand out on a card: a switch that is off
//   Text, WindowText  primary text and symbols
//   PlaceholderText   secondary text and symbols
//   Highlight         the accent: a switch that is on, a prominent button, a selected cell
//   HighlightedText   text on the accent
//   Button            a selected segment or tab behind its text
//   ToolTipBase, ToolTipText  a tooltip
namespace Theme {

QPalette palette(ColorScheme scheme);
// Tooltips everywhere in the process take the appearance's colours.
void applyToToolTips(ColorScheme scheme);
// The appearance a widget is drawn in, read back from its palette.
ColorScheme schemeOf(const QWidget& widget);
// Destructive actions (delete), the same in both appearances.
QColor destructive();
// A card, panel or popover: the Base fill in a rounded outline with a hairline edge.
void paintPanel(QPainter& painter, const QRectF& rect, double cornerRadius, const QPalette& palette);

} // namespace Theme
