#pragma once

#include "model/Enums.h"

#include <QAbstractButton>
#include <QColor>
#include <QList>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <optional>

// One round colour choice. Drawn with a ring around it when selected; a rainbow circle (with the
// chosen colour in its middle, if any) stands for "pick any colour".
class ColorCircle final : public QAbstractButton {
    Q_OBJECT
public:
    ColorCircle(const QColor& color, bool isSelected, std::function<void()> action, QWidget* parent = nullptr);

    const QColor& color() const { return m_color; }
    void setColor(const QColor& color);
    bool isSelected() const { return m_isSelected; }
    void setSelected(bool selected);
    // A hue wheel instead of a flat fill; `color` (when valid) shows as a dot in its centre.
    void setRainbow(bool rainbow);
    // A frosted sheen over the colour, which tells it apart from a flat pale one.
    void setFrosted(bool frosted);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QColor m_color;
    bool m_isSelected;
    bool m_rainbow = false;
    bool m_frosted = false;
    std::function<void()> m_action;
};

// The background colours of a tile: a circle for each preset `TileBackground` case in order, then
// the custom-colour circle. The owner says which case is current and hears which one is chosen.
class BackgroundColorRow final : public QWidget {
    Q_OBJECT
public:
    explicit BackgroundColorRow(QWidget* parent = nullptr);

    // The current case; the custom circle shows `customColor` when the case is custom.
    void setCurrent(TileBackground background, const QColor& customColor);
    // Preset fills follow the theme, as the tile's own colours do.
    void setAppearanceLight(bool light);
    // Names for screen readers and tooltips, one per case in `TileBackground` order (custom last).
    void setNames(const QStringList& names);

    QList<ColorCircle*> circles() const { return m_circles; }
    ColorCircle* customCircle() const { return m_circles.last(); }

    QSize sizeHint() const override;

Q_SIGNALS:
    void presetChosen(TileBackground background);
    // The custom circle was clicked: the owner opens the colour picker.
    void customRequested();

private:
    void recolor();

    QList<ColorCircle*> m_circles; // by TileBackground
    bool m_light = true;
};
