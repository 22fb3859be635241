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

// At least one column, at most one per application and at most `popupColumns`.
int columnCount(qint64 popupColumns, qsizetype appCount);
double columnWidth(double iconSize);
// The grid's width for `columns` columns.
double contentWidth(int columns, double iconSize, double gridSpacing);

} // namespace PopupLayout
