#include "ToggleSwitch.h"

#include "FocusRing.h"
#include "SpringAnimation.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace {

constexpr QSizeF trackSize{32, 18};
constexpr double knobInset = 2;
constexpr Spring knobSpring{0.24, 0.86};

} // namespace

ToggleSwitch::ToggleSwitch(QWidget* parent)
    : QAbstractButton(parent)
    , m_knob(new SpringAnimation(knobSpring, 0, this)) {
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(m_knob, &SpringAnimation::valueChanged, this, qOverload<>(&QWidget::update));
}

QSize ToggleSwitch::sizeHint() const {
    // Room around the track for the focus ring.
    return {int(std::ceil(trackSize.width() + 2 * FocusRing::room)),
            int(std::ceil(trackSize.height() + 2 * FocusRing::room))};
}

bool ToggleSwitch::hitButton(const QPoint& position) const {
    return rect().contains(position);
}

void ToggleSwitch::checkStateSet() {
    // Set from outside (a refused change, a new value): no motion unless the widget is showing.
    if (isVisible())
        m_knob->animateTo(isChecked() ? 1 : 0);
    else
        m_knob->setValue(isChecked() ? 1 : 0);
}

void ToggleSwitch::nextCheckState() {
    QAbstractButton::nextCheckState();
    m_knob->animateTo(isChecked() ? 1 : 0);
}

void ToggleSwitch::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void ToggleSwitch::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF track(QPointF((width() - trackSize.width()) / 2, (height() - trackSize.height()) / 2), trackSize);
    QPainterPath outline;
    outline.addRoundedRect(track, track.height() / 2, track.height() / 2);
    const double progress = std::clamp(m_knob->value(), 0.0, 1.0);
    const QColor off = palette().color(QPalette::Dark);
    const QColor on = palette().color(QPalette::Highlight);
    QColor fill;
    fill.setRgbF(
        off.redF() + (on.redF() - off.redF()) * progress, off.greenF() + (on.greenF() - off.greenF()) * progress,
        off.blueF() + (on.blueF() - off.blueF()) * progress, off.alphaF() + (on.alphaF() - off.alphaF()) * progress);
    painter.setOpacity(isEnabled() ? 1.0 : 0.5);
    painter.fillPath(outline, fill);
    painter.setPen(QPen(palette().color(QPalette::Mid), 0.5));
    painter.drawPath(outline);

    const double knob = track.height() - 2 * knobInset;
    const double travel = track.width() - 2 * knobInset - knob;
    const QRectF knobRect(track.left() + knobInset + travel * m_knob->value(), track.top() + knobInset, knob, knob);
    painter.setPen(QPen(QColor(0, 0, 0, 40), 0.5));
    painter.setBrush(Qt::white);
    painter.drawEllipse(knobRect);
    if (FocusRing::shows(*this))
        FocusRing::paintAround(painter, outline, palette());
}
