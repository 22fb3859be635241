#pragma once

#include "ColorScheme.h"

#include <QPointF>
#include <QPointer>
#include <QWidget>

class ScrollIndicator;

// A region that scrolls a taller content up and down. The wheel and the touchpad move it, and so
// does dragging the content: a press that travels further than the platform's drag distance
// scrolls and is no click. The child that takes the keyboard focus is scrolled into view. A thin
// indicator along the right edge shows the place while the content is taller than the region.
// Children go into `content()`; the owner gives the content its height.
class ScrollView final : public QWidget {
    Q_OBJECT
public:
    explicit ScrollView(QWidget* parent = nullptr);

    QWidget* content() const { return m_content; }
    ScrollIndicator* indicator() const { return m_indicator; }
    void setContentHeight(int height);
    void setColorScheme(ColorScheme scheme);
    // How far one notch of a mouse wheel moves the content, in points.
    void setWheelStep(double points) { m_wheelStep = points; }
    // Room kept around a focused child when it is scrolled into view.
    void setFocusMargin(int points) { m_focusMargin = points; }

    int offset() const { return m_offset; }
    int maximumOffset() const;
    bool isScrollable() const { return maximumOffset() > 0; }
    void setOffset(int offset);
    // Scrolls as little as needed to show `rect` (in the content's coordinates) and `margin` around it.
    void ensureVisible(const QRect& rect, int margin = 0);

Q_SIGNALS:
    void offsetChanged(int offset);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void focusChanged(QWidget* now);
    void placeChildren();
    // The drag of a press at `globalPosition`; true once it scrolls rather than clicks.
    void pressAt(QPointF globalPosition);
    bool dragTo(QPointF globalPosition, QWidget* pressed);

    QWidget* m_content;
    ScrollIndicator* m_indicator;
    int m_contentHeight = 0;
    int m_offset = 0;
    double m_wheelStep = 40.0;
    double m_pendingWheel = 0; // the part of a wheel turn not yet a whole point
    int m_focusMargin = 0;
    bool m_pressed = false;
    bool m_dragging = false;
    QPointF m_pressPosition;
    int m_pressOffset = 0;
};
