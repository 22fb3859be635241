#include "TilePainter.h"

#include "TileFill.h"
#include "TileGeometry.h"
#include "platform/FileIcons.h"
#include "platform/Symbols.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

QColor toQColor(const Rgba& color) {
    return QColor::fromRgbF(float(color.red), float(color.green), float(color.blue), float(color.alpha));
}

QRectF toQt(const TileRect& rect, double canvas) {
    const TileRect down = flipped(rect, canvas);
    return {down.x, down.y, down.width, down.height};
}

void fillBackground(QPainter& painter, const QPainterPath& path, const QRectF& bounds, const TileStyleSettings& style,
                    bool lightTheme) {
    const Rgba base = baseColor(style, lightTheme ? Appearance::Light : Appearance::Dark);
    // Top to bottom, as the gradient runs at −90° in y-up terms.
    QLinearGradient gradient(bounds.topLeft(), bounds.bottomLeft());
    switch (style.backgroundMode) {
    case TileBackgroundMode::Solid:
        painter.fillPath(path, toQColor(base));
        return;
    case TileBackgroundMode::Gradient: {
        const auto stops = TileFill::gradientStops(base);
        gradient.setColorAt(0.0, toQColor(stops[0]));
        gradient.setColorAt(0.5, toQColor(stops[1]));
        gradient.setColorAt(1.0, toQColor(stops[2]));
        break;
    }
    case TileBackgroundMode::Glass: {
        const auto stops = TileFill::glassStops(style.opacity, lightTheme);
        gradient.setColorAt(0.0, toQColor(stops[0]));
        gradient.setColorAt(1.0, toQColor(stops[1]));
        break;
    }
    }
    painter.fillPath(path, gradient);
}

void drawGlyph(QPainter& painter, const TileGeometry& geometry, const TileDrawingContext& context,
               const QString& text) {
    const double canvas = geometry.canvas;
    if (context.symbol) {
        const QRectF target = toQt(geometry.symbolRect(), canvas);
        // Rendered at the device's resolution so the glyph stays sharp at any tile size.
        const double scale = painter.deviceTransform().m11();
        if (const auto symbol = context.symbol(text, geometry.symbolPointSize() * scale, true, Qt::white)) {
            painter.drawImage(target, *symbol);
            return;
        }
    }
    QFont font;
    font.setBold(true);
    font.setPixelSize(qMax(1, qRound(geometry.textPointSize())));
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(toQt(geometry.tile, canvas), Qt::AlignCenter | Qt::TextDontClip, text);
}

} // namespace

TileDrawingContext TileDrawingContext::platformResources() {
    TileDrawingContext context;
    context.fileIcon = &FileIcons::iconForPath;
    context.symbol = [](const QString& name, double pointSize, bool bold, const QColor& color) {
        return Symbols::image(name, pointSize, bold, color);
    };
    return context;
}

void TilePainter::drawFolderTile(QPainter& painter, const TileStyleSettings& style, const TileDrawingContext& context,
                                 const AppFolder& folder, double canvas) {
    const TileGeometry geometry =
        TileGeometry::make(canvas, style.cornerRadius, style.borderWidth, context.iconPadding);
    painter.save();
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);

    const QRectF tile = toQt(geometry.tile, canvas);
    QPainterPath path;
    path.addRoundedRect(tile, geometry.cornerRadius, geometry.cornerRadius);
    fillBackground(painter, path, tile, style, context.lightTheme);

    if (style.borderEnabled) {
        QPen pen(QColor::fromRgbF(1, 1, 1, float(style.borderOpacity)), geometry.borderWidth);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        const double radius = geometry.borderCornerRadius();
        painter.drawRoundedRect(toQt(geometry.borderRect(), canvas), radius, radius);
    }

    if (style.displayFolderIcon) {
        drawGlyph(painter, geometry, context, folder.emoji);
    } else if (context.fileIcon) {
        const double scale = painter.deviceTransform().m11();
        const int pixels = qMax(1, qRound(geometry.iconCell * scale));
        for (int i = 0; i < std::min<qsizetype>(folder.apps.size(), 4); ++i) {
            const QImage icon = context.fileIcon(folder.apps.at(i).path(), pixels);
            painter.drawImage(toQt(geometry.iconCellRect(i), canvas), icon);
        }
    }
    painter.restore();
}

QImage TilePainter::render(const TileStyleSettings& style, const TileDrawingContext& context, const AppFolder& folder,
                           int pixels) {
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    constexpr double kCanvas = 512;
    painter.scale(pixels / kCanvas, pixels / kCanvas);
    drawFolderTile(painter, style, context, folder, kCanvas);
    return image;
}
