#include "ScrollIndicator.h"

#include <QPainter>

#include <algorithm>

namespace {

// From the widget's ends, so the knob's round ends stay clear of rounded corners nearby.
constexpr double kEndInset = 4.0;

} // namespace

ScrollIndicator::ScrollIndicator(QWidget* parent)
    : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void ScrollIndicator::setColorScheme(ColorScheme scheme) {
    m_scheme = scheme;
    update();
}

void ScrollIndicator::setRange(double contentLength, double visibleLength, double offset) {
    m_contentLength = std::max(0.0, contentLength);
    m_visibleLength = std::max(0.0, visibleLength);
    m_offset = offset;
    update();
}

QRectF ScrollIndicator::knobRect() const {
    if (!isScrollable() || m_contentLength <= 0)
        return {};
    const double track = std::max(0.0, height() - 2 * kEndInset);
    const double length = std::min(track, std::max(minimumKnobLength, track * m_visibleLength / m_contentLength));
    const double travel = m_contentLength - m_visibleLength;
    const double at = travel > 0 ? std::clamp(m_offset / travel, 0.0, 1.0) : 0.0;
    return {(width() - knobWidth) / 2, kEndInset + (track - length) * at, knobWidth, length};
}

void ScrollIndicator::paintEvent(QPaintEvent*) {
    const QRectF knob = knobRect();
    if (knob.isEmpty())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    // Dark on a light card and light on a dark one, faint enough not to compete with the icons.
    painter.setBrush(m_scheme == ColorScheme::Light ? QColor::fromRgbF(0, 0, 0, 0.32f)
                                                    : QColor::fromRgbF(1, 1, 1, 0.36f));
    painter.drawRoundedRect(knob, knobWidth / 2, knobWidth / 2);
}
