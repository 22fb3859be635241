#pragma once

#include <QAbstractButton>
#include <QString>

// A push button with a text and an optional leading symbol on a rounded background, in one of
// the interface's styles. Colours come from the palette (see Theme.h). Tab reaches it, Return,
// Enter and Space press it, and a ring shows while it has keyboard focus; its accessible name
// is its text.
class TextButton final : public QAbstractButton {
    Q_OBJECT
public:
    enum class Style {
        Secondary,   // the control fill, primary text
        Prominent,   // the accent fill, text on the accent
        Destructive, // the destructive red, white text
        Borderless,  // text and symbol only, in the accent; a fill shows while pressed
    };

    TextButton(Style style, const QString& text, QWidget* parent = nullptr);

    void setStyle(Style style);
    Style style() const { return m_style; }
    // A system symbol before the text; empty for none.
    void setSymbol(const QString& symbol);
    QString symbol() const { return m_symbol; }
    // Text size in points (12.5 by default); the symbol is drawn a half point smaller.
    void setPointSize(double points);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    Style m_style;
    QString m_symbol;
    double m_pointSize = 12.5;
};
