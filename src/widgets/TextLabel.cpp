#include "TextLabel.h"

#include "Fonts.h"

TextLabel::TextLabel(const Style& style, QWidget* parent)
    : TextLabel(QString(), style, parent) {}

TextLabel::TextLabel(const QString& text, const Style& style, QWidget* parent)
    : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setTextStyle(style);
    setText(text);
}

void TextLabel::setTextStyle(const Style& style) {
    QFont font = Fonts::rounded(style.points, style.weight);
    if (style.letterSpacing != 0)
        font.setLetterSpacing(QFont::AbsoluteSpacing, style.letterSpacing);
    setFont(font);
    setForegroundRole(style.role);
    setAlignment(style.alignment);
    setWordWrap(style.wraps);
}

void TextLabel::setTextColor(const QColor& color) {
    QPalette colors = palette();
    colors.setColor(foregroundRole(), color);
    setPalette(colors);
}
