#include "PopupLayout.h"

#include <algorithm>
#include <cmath>

int PopupLayout::columnCount(qint64 popupColumns, qsizetype appCount) {
    if (popupColumns < 1)
        return 1;
    return int(std::min<qint64>(std::max<qint64>(appCount, 1), popupColumns));
}

double PopupLayout::columnWidth(double iconSize) {
    return iconSize + cellExtraWidth;
}

double PopupLayout::contentWidth(int columns, double iconSize, double gridSpacing) {
    return gridSpacing * (columns - 1) + columnWidth(iconSize) * columns;
}

int PopupLayout::fittingColumns(double room, double iconSize, double gridSpacing) {
    return std::max(1, int(std::floor((room + gridSpacing) / (columnWidth(iconSize) + gridSpacing))));
}
