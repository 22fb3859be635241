#pragma once

#include <QtGlobal>

// The popup's grid and card measures, in points.
namespace PopupLayout {

inline constexpr double outerPadding = 24.0;   // room for the card's shadows
inline constexpr double cellExtraWidth = 16.0; // a column is the icon and this much more
inline constexpr double rowSpacing = 12.0;
inline constexpr double arrowRoom = 16.0; // extra inner padding on the arrow's side
inline constexpr double iconNameSpacing = 5.0;
inline constexpr double headerSpacing = 8.0;
inline constexpr double pinTrailingPadding = 4.0;
inline constexpr double cornerRadius = 18.0;
inline constexpr double arrowWidth = 24.0;
inline constexpr double arrowHeight = 12.0;
inline constexpr double hoverScale = 1.08;

// The header row: the folder's glyph, then the title, then the buttons.
inline constexpr double glyphPoints = 15.0;
inline constexpr double glyphSide = 20.0;
inline constexpr double headerButtonSide = 22.0; // Open All and the pin
inline constexpr double closeSide = 18.0;
// Between an empty folder's message and its button.
inline constexpr double emptyNoteSpacing = 8.0;
// A very long application name is shortened in the middle to about two lines of a notice.
inline constexpr double noticeNameWidth = 260.0;
// The divider under the header, and how far the scrolling grid reaches past the content's edge
// so that its first and last columns are not clipped by their own antialiasing.
inline constexpr double dividerThickness = 1.0;
inline constexpr double gridOverhang = 1.0;

// At least one column, at most one per application and at most `popupColumns`.
int columnCount(qint64 popupColumns, qsizetype appCount);
double columnWidth(double iconSize);
// The grid's width for `columns` columns.
double contentWidth(int columns, double iconSize, double gridSpacing);
// How many columns fit in `room`, at least one.
int fittingColumns(double room, double iconSize, double gridSpacing);

} // namespace PopupLayout
