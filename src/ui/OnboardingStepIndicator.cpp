#include "OnboardingStepIndicator.h"

#include "widgets/Shapes.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr int marks = 3;
constexpr double markSide = 8;
constexpr double currentExtra = 14; // how much longer the current mark is
constexpr double gap = 6;

} // namespace

void OnboardingStepIndicator::setPosition(double position) {
    if (position == m_position)
        return;
    m_position = position;
    update();
}

QSize OnboardingStepIndicator::sizeHint() const {
    return {int(marks * markSide + currentExtra + (marks - 1) * gap), int(markSide)};
}

void OnboardingStepIndicator::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor resting = palette().color(QPalette::PlaceholderText);
    resting.setAlphaF(resting.alphaF() * 0.7f);
    const QColor accent = palette().color(QPalette::Highlight);
    // The lengths always add up to the same, so the row keeps its width between steps.
    double x = (width() - sizeHint().width()) / 2.0;
    for (int i = 0; i < marks; ++i) {
        const double closeness = std::max(0.0, 1 - std::abs(m_position - i));
        const auto mix = [closeness](double from, double to) { return float(from + (to - from) * closeness); };
        const QColor color =
            QColor::fromRgbF(mix(resting.redF(), accent.redF()), mix(resting.greenF(), accent.greenF()),
                             mix(resting.blueF(), accent.blueF()), mix(resting.alphaF(), accent.alphaF()));
        const double length = markSide + currentExtra * closeness;
        painter.fillPath(
            Shapes::continuousRoundedRect(QRectF(x, (height() - markSide) / 2, length, markSide), markSide / 2), color);
        x += length + gap;
    }
}
