#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QSizeF>

#include <optional>

// How a symbol button looks: its symbol's size, weight and colour, the square it sits in (all
// of it clickable), an optional circle behind the symbol and the opacity while pressed.
struct GlyphButtonStyle {
    double pointSize = 13;
    bool bold = false;
    QColor color = Qt::white;
    QSizeF frame{22, 22};
    std::optional<QColor> circle;
    // A line around the circle, for a circle that must stand off any background.
    std::optional<QColor> circleEdge;
    double pressedOpacity = 1.0;
};

// A button that shows a system symbol and no other chrome. Return, Enter and Space press it
// from the keyboard, and a ring shows when it has keyboard focus.
class GlyphButton final : public QAbstractButton {
    Q_OBJECT
public:
    GlyphButton(GlyphButtonStyle style, QString symbol, QWidget* parent = nullptr);

    void setSymbol(const QString& symbol);
    // The symbol's colour, as the appearance changes.
    void setColor(const QColor& color);
    QString symbol() const { return m_symbol; }
    // Turns the symbol about its centre, in degrees.
    void setRotation(double degrees);
    double rotation() const { return m_rotation; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    GlyphButtonStyle m_style;
    QString m_symbol;
    double m_rotation = 0;
};
