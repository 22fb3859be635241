#include "TileGeometry.h"

#include <algorithm>

TileGeometry TileGeometry::make(double canvas, double cornerRadius, double borderWidth, double tileIconPadding) {
    TileGeometry g{};
    g.canvas = canvas;
    g.tile = {kInset, kInset, canvas - 2 * kInset, canvas - 2 * kInset};
    g.cornerRadius = canvas / 64.0 * cornerRadius;
    g.borderWidth = std::max(canvas / 256.0 * borderWidth, 0.5);
    g.iconPadding = g.tile.width * (tileIconPadding / 64.0 + 0.08);
    g.iconGap = g.tile.width * 0.06;
    g.iconCell = std::min((g.tile.width - 2 * g.iconPadding - g.iconGap) / 2,
                          (g.tile.height - 2 * g.iconPadding - g.iconGap) / 2);
    return g;
}

TileRect TileGeometry::iconCellRect(int index) const {
    const int column = index % 2;
    const int row = index / 2;
    return {tile.x + iconPadding + column * (iconCell + iconGap),
            tile.y + iconPadding + (1 - row) * (iconCell + iconGap), iconCell, iconCell};
}

TileRect TileGeometry::borderRect() const {
    const double half = borderWidth / 2;
    return {tile.x + half, tile.y + half, tile.width - borderWidth, tile.height - borderWidth};
}

double TileGeometry::borderCornerRadius() const {
    return std::max(cornerRadius - borderWidth / 2, 0.0);
}

TileRect TileGeometry::symbolRect() const {
    const double m = std::min(tile.width, tile.height);
    const double side = m * 0.504;
    return {tile.x + (tile.width - side) / 2, tile.y + (tile.height - side) / 2, side, side};
}

double TileGeometry::symbolPointSize() const {
    return std::min(tile.width, tile.height) * 0.576;
}

double TileGeometry::textPointSize() const {
    return std::min(tile.width, tile.height) * 0.36;
}

TileRect flipped(const TileRect& rect, double canvasHeight) {
    return {rect.x, canvasHeight - rect.y - rect.height, rect.width, rect.height};
}
