#pragma once

// The layout of a folder tile on a square canvas of side S, in y-up coordinates (origin at the
// bottom left), as the tile's design is stated. Painting converts at the edge.
struct TileRect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    bool operator==(const TileRect&) const = default;
};

struct TileGeometry {
    static constexpr double kInset = 44;

    double canvas = 512; // S
    TileRect tile;       // R: the canvas inset by 44
    double cornerRadius; // r = S / 64 × cornerRadius
    double borderWidth;  // w = max(S / 256 × borderWidth, 0.5)
    double iconPadding;  // p = width(R) × (tileIconPadding / 64 + 0.08)
    double iconGap;      // g = width(R) × 0.06
    double iconCell;     // c

    static TileGeometry make(double canvas, double cornerRadius, double borderWidth, double tileIconPadding);

    // The square of the i-th of up to four app icons: the first two fill the upper row left to
    // right, the next two the lower row.
    TileRect iconCellRect(int index) const;
    // The border's rounded rectangle: the tile inset by half the line width.
    TileRect borderRect() const;
    double borderCornerRadius() const;
    // The square a symbol glyph is drawn into, and the glyph's point size.
    TileRect symbolRect() const;
    double symbolPointSize() const;
    double textPointSize() const;
};

// A rectangle in y-up coordinates on a canvas of height `canvasHeight`, in y-down coordinates.
TileRect flipped(const TileRect& rect, double canvasHeight);
