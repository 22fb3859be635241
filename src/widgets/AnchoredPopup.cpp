#include "AnchoredPopup.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

QPoint AnchoredPopup::position(QSize size, const QScreen* screen, const QWidget* anchor, int gap, Edge edge) {
    QRect area = screen ? screen->availableGeometry() : QRect();
    const int width = size.width();
    const int height = size.height();
    QPoint position;
    if (anchor) {
        const QRect anchorRect(anchor->mapToGlobal(QPoint(0, 0)), anchor->size());
        if (QScreen* anchorScreen = QGuiApplication::screenAt(anchorRect.center()))
            area = anchorScreen->availableGeometry();
        position = QPoint(edge == Edge::Leading ? anchorRect.left() : anchorRect.right() + 1 - width,
                          anchorRect.bottom() + 1 + gap);
        if (!area.isEmpty() && position.y() + height > area.bottom() + 1)
            position.setY(anchorRect.top() - gap - height);
    }
    if (!area.isEmpty()) {
        position.setX(std::clamp(position.x(), area.left(), std::max(area.left(), area.right() + 1 - width)));
        position.setY(std::clamp(position.y(), area.top(), std::max(area.top(), area.bottom() + 1 - height)));
    }
    return position;
}

QPoint AnchoredPopup::position(const QWidget& popup, const QWidget* anchor, int gap, Edge edge) {
    return position(popup.size(), popup.screen(), anchor, gap, edge);
}
