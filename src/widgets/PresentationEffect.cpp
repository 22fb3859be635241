#include "PresentationEffect.h"

#include <QPainter>

#include <algorithm>

PresentationEffect::PresentationEffect(QObject* parent)
    : QGraphicsEffect(parent) {}

void PresentationEffect::setScale(double scale) {
    if (scale == m_scale)
        return;
    m_scale = scale;
    update();
}

void PresentationEffect::setOpacity(double opacity) {
    opacity = std::clamp(opacity, 0.0, 1.0);
    if (opacity == m_opacity)
        return;
    m_opacity = opacity;
    update();
}

void PresentationEffect::setCentre(const QPointF& centre) {
    m_centre = centre;
    update();
}

void PresentationEffect::draw(QPainter* painter) {
    if (m_opacity <= 0)
        return;
    QPoint offset;
    const QPixmap pixmap = sourcePixmap(Qt::LogicalCoordinates, &offset, QGraphicsEffect::NoPad);
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->setOpacity(m_opacity);
    painter->translate(m_centre);
    painter->scale(m_scale, m_scale);
    painter->translate(-m_centre);
    painter->drawPixmap(offset, pixmap);
    painter->restore();
}
