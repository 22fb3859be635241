#pragma once

#include "model/AppFolder.h"

#include <QImage>

#include <functional>
#include <optional>

class QColor;
class QPainter;

// What the tile is drawn from besides the folder: the global settings read at drawing time,
// and where icons and symbols come from.
struct TileDrawingContext {
    double iconPadding = 4.0; // the global tileIconPadding
    bool lightTheme = false;
    // An application's icon for its bundle path, `size` pixels square.
    std::function<QImage(const QString& path, int size)> fileIcon;
    // A system symbol at a point size, bold or not, in a colour; none when there is no such symbol.
    std::function<std::optional<QImage>(const QString& name, double pointSize, bool bold, const QColor& color)> symbol;

    // Application icons from the bundles and symbols from the platform's symbol font.
    static TileDrawingContext platformResources();
};

namespace TilePainter {

// Draws the folder's tile onto a square canvas of `canvas` points at the painter's origin.
void drawFolderTile(QPainter& painter, const TileStyleSettings& style, const TileDrawingContext& context,
                    const AppFolder& folder, double canvas);

// The tile on a transparent square image of `pixels`, drawn for a 512-point canvas.
QImage render(const TileStyleSettings& style, const TileDrawingContext& context, const AppFolder& folder,
              int pixels = 512);

} // namespace TilePainter
