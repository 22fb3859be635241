#include "GlyphButton.h"

#include "FocusRing.h"
#include "platform/Symbols.h"

#include <QKeyEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

GlyphButton::GlyphButton(GlyphButtonStyle style, QString symbol, QWidget* parent)
    : QAbstractButton(parent)
    , m_style(std::move(style))
    , m_symbol(std::move(symbol)) {
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::ArrowCursor);
    resize(sizeHint());
}

void GlyphButton::setSymbol(const QString& symbol) {
    if (symbol == m_symbol)
        return;
    m_symbol = symbol;
    update();
}

void GlyphButton::setColor(const QColor& color) {
    m_style.color = color;
    update();
}

void GlyphButton::setRotation(double degrees) {
    if (degrees == m_rotation)
        return;
    m_rotation = degrees;
    update();
}

QSize GlyphButton::sizeHint() const {
    return {int(std::ceil(m_style.frame.width())), int(std::ceil(m_style.frame.height()))};
}

void GlyphButton::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        animateClick();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void GlyphButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    const QRectF frame(QPointF((width() - m_style.frame.width()) / 2, (height() - m_style.frame.height()) / 2),
                       m_style.frame);
    painter.setOpacity(isDown() ? m_style.pressedOpacity : 1.0);
    QPainterPath outline;
    outline.addEllipse(frame);
    if (m_style.circle)
        painter.fillPath(outline, *m_style.circle);
    if (m_style.circleEdge) {
        painter.setPen(QPen(*m_style.circleEdge, 1.25));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(frame.adjusted(0.625, 0.625, -0.625, -0.625));
    }

    const double scale = devicePixelRatioF();
    if (const std::optional<QImage> image =
            Symbols::image(m_symbol, m_style.pointSize * scale, m_style.bold, m_style.color)) {
        const double side = image->width() / scale;
        painter.save();
        painter.translate(frame.center());
        painter.rotate(m_rotation);
        painter.drawImage(QRectF(-side / 2, -side / 2, side, side), *image);
        painter.restore();
    }
    if (FocusRing::shows(*this)) {
        // Outside the symbol's circle where the button leaves room, along its inside where not.
        const double room = std::min(frame.left(), frame.top());
        if (room >= FocusRing::room)
            FocusRing::paintAround(painter, outline, palette());
        else
            FocusRing::paintInside(painter, outline, palette());
    }
}
