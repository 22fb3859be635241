#pragma once

#include "widgets/PanelWindow.h"

#include <QColor>
#include <QList>

#include <functional>

class QAbstractButton;

// A small window for picking any colour: a saturation/brightness square, a hue bar and a row of
// ready-made swatches. Every change is reported at once, so what it colours follows the drag.
class CustomColorPickerPopup final : public PanelWindow {
    Q_OBJECT
public:
    static constexpr int popupPadding = 14;
    static constexpr int contentWidth = 212;
    static constexpr int squareSize = 212;
    static constexpr int hueBarHeight = 14;
    static constexpr int swatchSize = 20;
    static constexpr int swatchSpacing = 4;

    struct Names {
        QString popup;
        QString square;
        QString hueBar;
        std::function<QString(const QString& hex)> swatch; // a swatch's name from its RRGGBB text
    };

    // Starts from `current` (white when it is not a valid colour).
    CustomColorPickerPopup(const QColor& current, QList<QColor> swatches, const Names& names,
                           QWidget* parent = nullptr);

    // The colours offered below the square.
    static QList<QColor> defaultSwatches();

    QColor selectedColor() const { return m_selectedColor; }
    const QList<QColor>& swatches() const { return m_swatches; }
    double hue() const { return m_hue; }
    double saturation() const { return m_saturation; }
    double brightness() const { return m_brightness; }

    // The drag rules, by position along each control (y counted up from the square's bottom).
    void dragSquare(double x, double yUp);
    void dragHue(double x);
    void chooseSwatch(int index);
    bool isSwatchSelected(int index) const;

    QWidget* square() const { return m_square; }
    QWidget* hueBar() const { return m_hueBar; }
    QList<QAbstractButton*> swatchButtons() const { return m_swatchButtons; }

    // Shows the popup below `anchor` (above it when the screen has no room below).
    void popUp(QWidget* anchor);

Q_SIGNALS:
    void colorChanged(const QColor& color);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void setComponents(double hue, double saturation, double brightness);
    void publish(const QColor& color);

    QList<QColor> m_swatches;
    double m_hue = 0;
    double m_saturation = 0;
    double m_brightness = 1;
    QColor m_selectedColor;
    QWidget* m_square;
    QWidget* m_hueBar;
    QList<QAbstractButton*> m_swatchButtons;
};
