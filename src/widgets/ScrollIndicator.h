#pragma once

#include "ColorScheme.h"

#include <QWidget>

// A thin bar that shows how far a scrolled region has moved and how much of it is in view: a
// rounded knob along a clear track, drawn only while there is something to scroll. It shows and
// does not take the pointer; the region it belongs to scrolls itself.
class ScrollIndicator final : public QWidget {
    Q_OBJECT
public:
    static constexpr int thickness = 11; // the widget's width, the knob's room and its margins
    static constexpr double knobWidth = 5.0;
    static constexpr double minimumKnobLength = 24.0;

    explicit ScrollIndicator(QWidget* parent = nullptr);

    void setColorScheme(ColorScheme scheme);
    // `contentLength` is what could be seen, `visibleLength` how much of it is, from `offset` on.
    void setRange(double contentLength, double visibleLength, double offset);
    bool isScrollable() const { return m_contentLength > m_visibleLength; }
    // Where the knob is drawn, in the widget's coordinates; empty when nothing scrolls.
    QRectF knobRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ColorScheme m_scheme = ColorScheme::Dark;
    double m_contentLength = 0;
    double m_visibleLength = 0;
    double m_offset = 0;
};
