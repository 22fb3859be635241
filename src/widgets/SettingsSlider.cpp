#include "SettingsSlider.h"

#include "FocusRing.h"
#include "Fonts.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

constexpr double sliderWidth = 200;
constexpr double trackHeight = 5;
constexpr double thumbSize = 17;
constexpr double valueGap = 8;
constexpr double valueBoxWidth = 44;
constexpr double controlHeight = 24;

} // namespace

SettingsSlider::SettingsSlider(QWidget* parent)
    : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setFont(Fonts::rounded(12, QFont::Normal));
    setFixedSize(sizeHint());
    refreshValueText();
}

void SettingsSlider::setRange(double minimum, double maximum) {
    m_minimum = std::min(minimum, maximum);
    m_maximum = std::max(minimum, maximum);
    setValue(m_value);
}

double SettingsSlider::step() const {
    return m_step > 0 ? m_step : (m_maximum - m_minimum) / 100;
}

void SettingsSlider::setSnapsToSteps(bool snaps) {
    m_snapsToSteps = snaps;
    setValue(m_value);
}

void SettingsSlider::setValue(double value) {
    if (m_snapsToSteps && std::isfinite(value))
        value = m_minimum + std::round((value - m_minimum) / step()) * step();
    // A stored value outside the range (an edited preferences file) shows at the nearest end.
    const double clamped = std::isfinite(value) ? std::clamp(value, m_minimum, m_maximum) : m_minimum;
    if (clamped == m_value)
        return;
    m_value = clamped;
    refreshValueText();
}

void SettingsSlider::setValueText(ValueText valueText) {
    m_valueText = std::move(valueText);
    refreshValueText();
}

QString SettingsSlider::valueText() const {
    return m_valueText ? m_valueText(m_value) : QString::number(qint64(std::round(m_value)));
}

void SettingsSlider::refreshValueText() {
    setAccessibleDescription(valueText());
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(this, m_value);
        QAccessible::updateAccessibility(&event);
    }
    update();
}

void SettingsSlider::moveTo(double value) {
    const double before = m_value;
    setValue(value);
    if (m_value != before)
        Q_EMIT valueChanged(m_value);
}

double SettingsSlider::thumbCenter(double value) const {
    const double span = m_maximum - m_minimum;
    const double t = span > 0 ? (std::clamp(value, m_minimum, m_maximum) - m_minimum) / span : 0;
    return thumbSize / 2 + t * (sliderWidth - thumbSize);
}

double SettingsSlider::valueAt(double x) const {
    const double t = std::clamp((x - thumbSize / 2) / (sliderWidth - thumbSize), 0.0, 1.0);
    return m_minimum + t * (m_maximum - m_minimum);
}

QSize SettingsSlider::sizeHint() const {
    return {int(sliderWidth + valueGap + valueBoxWidth), int(controlHeight)};
}

void SettingsSlider::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Down:
        moveTo(m_value - step());
        return;
    case Qt::Key_Right:
    case Qt::Key_Up:
        moveTo(m_value + step());
        return;
    case Qt::Key_PageDown:
        moveTo(m_value - 10 * step());
        return;
    case Qt::Key_PageUp:
        moveTo(m_value + 10 * step());
        return;
    case Qt::Key_Home:
        moveTo(m_minimum);
        return;
    case Qt::Key_End:
        moveTo(m_maximum);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void SettingsSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || event->position().x() > sliderWidth) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_dragging = true;
    moveTo(valueAt(event->position().x()));
}

void SettingsSlider::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragging)
        moveTo(valueAt(event->position().x()));
}

void SettingsSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (m_dragging && event->button() == Qt::LeftButton) {
        m_dragging = false;
        moveTo(valueAt(event->position().x()));
    }
}

void SettingsSlider::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    painter.setOpacity(isEnabled() ? 1.0 : 0.5);
    const double middle = height() / 2.0;
    const QRectF track(thumbSize / 2 - trackHeight / 2, middle - trackHeight / 2, sliderWidth - thumbSize + trackHeight,
                       trackHeight);
    QPainterPath trackPath;
    trackPath.addRoundedRect(track, trackHeight / 2, trackHeight / 2);
    QColor rest = palette().color(QPalette::Mid);
    painter.fillPath(trackPath, rest);
    const double centre = thumbCenter(m_value);
    QPainterPath filled;
    filled.addRoundedRect(QRectF(track.left(), track.top(), centre - track.left(), trackHeight), trackHeight / 2,
                          trackHeight / 2);
    painter.fillPath(filled, palette().color(QPalette::Highlight));

    const QRectF thumb(centre - thumbSize / 2, middle - thumbSize / 2, thumbSize, thumbSize);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 45));
    painter.drawEllipse(thumb.translated(0, 0.75));
    painter.setPen(QPen(QColor(0, 0, 0, 40), 0.5));
    painter.setBrush(Qt::white);
    painter.drawEllipse(thumb);
    if (FocusRing::shows(*this)) {
        QPainterPath ring;
        ring.addEllipse(thumb);
        FocusRing::paint(painter, ring);
    }

    painter.setPen(palette().color(QPalette::Text));
    const QRectF box(sliderWidth + valueGap, 0, valueBoxWidth, height());
    painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, valueText());
}
