#include "FolderGlyph.h"

#include "Fonts.h"
#include "platform/Symbols.h"

#include <QPainter>

#include <cmath>

FolderGlyph::FolderGlyph(QString symbol, QColor color, double pointSize, QWidget* parent)
    : QWidget(parent)
    , m_symbol(std::move(symbol))
    , m_color(color)
    , m_pointSize(pointSize) {
    setAttribute(Qt::WA_TranslucentBackground);
}

void FolderGlyph::paint(QPainter& painter, const QRectF& rect, const QString& symbol, const QColor& color,
                        double pointSize) {
    // Drawn at the device's resolution so the symbol stays sharp.
    const double scale = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    if (const std::optional<QImage> image = Symbols::image(symbol, pointSize * scale, false, color)) {
        const double side = image->width() / scale;
        painter.drawImage(QRectF(rect.center().x() - side / 2, rect.center().y() - side / 2, side, side), *image);
        return;
    }
    painter.save();
    painter.setFont(Fonts::rounded(pointSize, QFont::Normal));
    painter.setPen(color);
    painter.drawText(rect, Qt::AlignCenter | Qt::TextDontClip | Qt::TextSingleLine, symbol);
    painter.restore();
}

void FolderGlyph::setSymbol(const QString& symbol) {
    m_symbol = symbol;
    update();
}

void FolderGlyph::setColor(const QColor& color) {
    m_color = color;
    update();
}

QSize FolderGlyph::sizeHint() const {
    const int side = int(std::ceil(m_pointSize * 1.25));
    return {side, side};
}

void FolderGlyph::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    paint(painter, rect(), m_symbol, m_color, m_pointSize);
}
