#include "ScrollView.h"

#include "ScrollIndicator.h"

#include <QAbstractButton>
#include <QApplication>
#include <QChildEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

ScrollView::ScrollView(QWidget* parent)
    : QWidget(parent)
    , m_content(new QWidget(this))
    , m_indicator(new ScrollIndicator(this)) {
    m_content->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { focusChanged(now); });
    placeChildren();
}

void ScrollView::setContentHeight(int height) {
    m_contentHeight = std::max(0, height);
    placeChildren();
}

void ScrollView::setColorScheme(ColorScheme scheme) {
    m_indicator->setColorScheme(scheme);
}

int ScrollView::maximumOffset() const {
    return std::max(0, m_contentHeight - height());
}

void ScrollView::setOffset(int offset) {
    offset = std::clamp(offset, 0, maximumOffset());
    if (offset == m_offset)
        return;
    m_offset = offset;
    placeChildren();
    Q_EMIT offsetChanged(m_offset);
}

void ScrollView::ensureVisible(const QRect& rect, int margin) {
    const int top = rect.top() - margin, bottom = rect.bottom() + 1 + margin;
    int offset = m_offset;
    if (bottom > offset + height())
        offset = bottom - height();
    if (top < offset)
        offset = top;
    setOffset(offset);
}

void ScrollView::placeChildren() {
    m_offset = std::clamp(m_offset, 0, maximumOffset());
    m_content->setGeometry(0, -m_offset, width(), std::max(m_contentHeight, height()));
    m_indicator->setGeometry(width() - ScrollIndicator::thickness, 0, ScrollIndicator::thickness, height());
    m_indicator->raise();
    m_indicator->setRange(m_contentHeight, height(), m_offset);
}

void ScrollView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeChildren();
}

void ScrollView::focusChanged(QWidget* now) {
    if (now && m_content->isAncestorOf(now))
        ensureVisible(QRect(now->mapTo(m_content, QPoint(0, 0)), now->size()), m_focusMargin);
}

void ScrollView::wheelEvent(QWheelEvent* event) {
    if (!isScrollable()) {
        event->ignore();
        return;
    }
    // A touchpad tells points; a wheel tells eighths of a degree, 120 to a notch.
    const double delta =
        !event->pixelDelta().isNull() ? event->pixelDelta().y() : event->angleDelta().y() / 120.0 * m_wheelStep;
    m_pendingWheel += delta;
    const double whole = std::trunc(m_pendingWheel);
    m_pendingWheel -= whole;
    setOffset(m_offset - int(whole));
    event->accept();
}

void ScrollView::pressAt(QPointF globalPosition) {
    m_pressed = true;
    m_dragging = false;
    m_pressPosition = globalPosition;
    m_pressOffset = m_offset;
}

bool ScrollView::dragTo(QPointF globalPosition, QWidget* pressed) {
    if (!m_pressed || !isScrollable())
        return false;
    const QPointF moved = globalPosition - m_pressPosition;
    if (!m_dragging && moved.manhattanLength() < QApplication::startDragDistance())
        return false;
    if (!m_dragging) {
        m_dragging = true;
        // What was pressed is now being dragged, not clicked.
        if (auto* button = qobject_cast<QAbstractButton*>(pressed))
            button->setDown(false);
    }
    setOffset(m_pressOffset - qRound(moved.y()));
    return true;
}

void ScrollView::mousePressEvent(QMouseEvent* event) {
    // Over content that fits, a press is left to the parent (which may move its window).
    if (event->button() != Qt::LeftButton || !isScrollable()) {
        event->ignore();
        return;
    }
    pressAt(event->globalPosition());
    event->accept();
}

void ScrollView::mouseMoveEvent(QMouseEvent* event) {
    if (!dragTo(event->globalPosition(), nullptr))
        event->ignore();
}

void ScrollView::mouseReleaseEvent(QMouseEvent* event) {
    m_pressed = m_dragging = false;
    event->accept();
}

bool ScrollView::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::ChildAdded:
        // The content's children are watched for drags that start on them.
        if (watched == m_content)
            if (auto* child = qobject_cast<QWidget*>(static_cast<QChildEvent*>(event)->child()))
                child->installEventFilter(this);
        break;
    case QEvent::MouseButtonPress:
        if (watched != m_content && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            pressAt(static_cast<QMouseEvent*>(event)->globalPosition());
        break;
    case QEvent::MouseMove:
        if (watched != m_content && (static_cast<QMouseEvent*>(event)->buttons() & Qt::LeftButton))
            return dragTo(static_cast<QMouseEvent*>(event)->globalPosition(), qobject_cast<QWidget*>(watched));
        break;
    case QEvent::MouseButtonRelease:
        if (watched != m_content && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            const bool dragged = m_dragging;
            m_pressed = m_dragging = false;
            // The end of a drag is no click.
            return dragged;
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}
