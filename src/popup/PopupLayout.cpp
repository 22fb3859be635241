#include "PopupLayout.h"

#include <algorithm>

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
