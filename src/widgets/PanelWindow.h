#pragma once

#include "AnchoredPopup.h"

#include <QImage>
#include <QWidget>

#include <optional>

// A small window of its own in the kit's look (a popover, a picker, a dialog of the application):
// the kit's panel drawn whole, rounded and with its hairline edge, on any desktop. Where the
// desktop composites windows, the window is see-through around the panel and carries the kit's
// shadow. Where it does not, see-through pixels would show black, so the window is cut to the
// panel's outline instead. Layouts set on it place their content inside the panel.
class PanelWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr double defaultCornerRadius = 12;

    // `kind`: a popup (closes on a click outside it or on Escape) or a window of the application's.
    explicit PanelWindow(QWidget* parent = nullptr, Qt::WindowFlags kind = Qt::Popup);

    // Whether the desktop shows through see-through pixels. Unless told before the window is first
    // shown, a panel follows the window it opens from (its parent's): see-through where that one is.
    void setTranslucent(bool translucent);
    bool isTranslucent() const;
    void setCornerRadius(double radius);
    // For content that draws the kit's panel itself (a dialog's panel): the window then adds only
    // the shadow or the shape around it.
    void setContentDrawsPanel(bool drawsPanel);

    // Room around the panel for its shadow; none when the window is cut to the panel.
    int shadowMargin() const;
    // The panel inside the window.
    QRect panelRect() const;
    // Sizes the window for a panel of `size`.
    void setPanelSize(QSize size);
    // Shows the panel `gap` below `anchor` (above it when the screen has no room below), lined up
    // with the anchor's `edge`.
    void popUp(const QWidget* anchor, int gap, AnchoredPopup::Edge edge);
    // Shows the panel in the middle of `screen`'s free area (the primary screen's without one).
    void showCentred(const QScreen* screen = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void applyTranslucency();
    void updateShape();
    QPainterPath outline() const;

    std::optional<bool> m_translucent;
    std::optional<QSize> m_panelSize;
    double m_cornerRadius = defaultCornerRadius;
    bool m_contentDrawsPanel = false;
    QImage m_shadow;
    QSize m_shadowSize;
    bool m_shadowDark = false;
};
