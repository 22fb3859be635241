#include "SegmentedPicker.h"

#include "FocusRing.h"
#include "Fonts.h"
#include "Shapes.h"
#include "SpringAnimation.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr double pickerHeight = 28;
constexpr double trackInset = 2;
constexpr double trackRadius = 8;
constexpr double capsuleRadius = 6;
constexpr Spring capsuleSpring{0.3, 0.7};

} // namespace

SegmentedPicker::SegmentedPicker(const QStringList& labels, double width, QWidget* parent)
    : QWidget(parent)
    , m_labels(labels)
    , m_width(width)
    , m_capsule(new SpringAnimation(capsuleSpring, 0, this)) {
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(sizeHint());
    setFont(Fonts::rounded(12, QFont::Medium));
    connect(m_capsule, &SpringAnimation::valueChanged, this, qOverload<>(&QWidget::update));
    describe();
}

void SegmentedPicker::setLabels(const QStringList& labels) {
    m_labels = labels;
    m_selection = std::clamp(m_selection, 0, std::max(0, int(labels.size()) - 1));
    describe();
    update();
}

void SegmentedPicker::setSelection(int index) {
    if (index < 0 || index >= m_labels.size() || index == m_selection)
        return;
    m_selection = index;
    moveCapsule();
    describe();
}

void SegmentedPicker::choose(int index) {
    if (index < 0 || index >= m_labels.size() || index == m_selection)
        return;
    setSelection(index);
    Q_EMIT selectionChanged(index);
}

void SegmentedPicker::moveCapsule() {
    // A hidden picker has nothing to show moving; it stands at its value when it appears.
    if (m_animateSelection && isVisible())
        m_capsule->animateTo(m_selection);
    else
        m_capsule->setValue(m_selection);
    update();
}

QString SegmentedPicker::optionAccessibleText(int index) const {
    if (index < 0 || index >= m_labels.size())
        return {};
    return QStringLiteral("%1, %2/%3").arg(m_labels[index]).arg(index + 1).arg(m_labels.size());
}

void SegmentedPicker::describe() {
    setAccessibleDescription(optionAccessibleText(m_selection));
    if (QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&event);
    }
}

QRectF SegmentedPicker::optionRect(int index) const {
    const double count = std::max<qsizetype>(1, m_labels.size());
    const double segment = (width() - 2 * trackInset) / count;
    return {trackInset + segment * index, trackInset, segment, double(height()) - 2 * trackInset};
}

QSize SegmentedPicker::sizeHint() const {
    return {int(std::ceil(m_width)), int(pickerHeight)};
}

void SegmentedPicker::keyPressEvent(QKeyEvent* event) {
    const bool rightToLeft = layoutDirection() == Qt::RightToLeft;
    switch (event->key()) {
    case Qt::Key_Left:
        choose(m_selection + (rightToLeft ? 1 : -1));
        return;
    case Qt::Key_Right:
        choose(m_selection + (rightToLeft ? -1 : 1));
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void SegmentedPicker::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    for (int i = 0; i < m_labels.size(); ++i) {
        if (optionRect(i).contains(event->position())) {
            choose(i);
            return;
        }
    }
}

void SegmentedPicker::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void SegmentedPicker::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

void SegmentedPicker::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    const QPainterPath track = Shapes::continuousRoundedRect(rect(), trackRadius);
    painter.fillPath(track, palette().color(QPalette::AlternateBase));
    if (m_labels.isEmpty())
        return;

    // The capsule between the two segments its position lies between.
    const double position = std::clamp(m_capsule->value(), 0.0, double(m_labels.size() - 1));
    const QRectF first = optionRect(0);
    const QRectF capsuleRect = first.translated(first.width() * position, 0);
    const QPainterPath capsule = Shapes::continuousRoundedRect(capsuleRect, capsuleRadius);
    painter.fillPath(capsule, palette().color(QPalette::Button));
    painter.setPen(QPen(palette().color(QPalette::Mid), 0.5));
    painter.drawPath(capsule);

    for (int i = 0; i < m_labels.size(); ++i) {
        painter.setPen(palette().color(i == m_selection ? QPalette::Text : QPalette::PlaceholderText));
        const QRectF box = optionRect(i).adjusted(4, 0, -4, 0);
        const QString label = painter.fontMetrics().elidedText(m_labels[i], Qt::ElideRight, int(box.width()));
        painter.drawText(box, Qt::AlignCenter | Qt::TextSingleLine, label);
    }
    if (FocusRing::shows(*this))
        FocusRing::paintInside(painter, track, palette());
}
