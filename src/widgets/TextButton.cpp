#include "TextButton.h"

#include "FocusRing.h"
#include "Fonts.h"
#include "Shapes.h"
#include "Theme.h"
#include "platform/Symbols.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPainter>

#include <cmath>

namespace {

constexpr double horizontalPadding = 12;
constexpr double symbolGap = 5;
constexpr double cornerRadius = 7;

} // namespace

TextButton::TextButton(Style style, const QString& text, QWidget* parent)
    : QAbstractButton(parent)
    , m_style(style) {
    setText(text);
    setAccessibleName(text);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::ArrowCursor);
    setFont(Fonts::rounded(m_pointSize, QFont::DemiBold));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void TextButton::setStyle(Style style) {
    m_style = style;
    update();
}

void TextButton::setSymbol(const QString& symbol) {
    m_symbol = symbol;
    updateGeometry();
    update();
}

void TextButton::setPointSize(double points) {
    m_pointSize = points;
    setFont(Fonts::rounded(m_pointSize, QFont::DemiBold));
    updateGeometry();
}

void TextButton::changeEvent(QEvent* event) {
    // A new text is also what a screen reader should announce.
    if (event->type() == QEvent::FontChange || event->type() == QEvent::LanguageChange)
        updateGeometry();
    QAbstractButton::changeEvent(event);
}

QSize TextButton::sizeHint() const {
    const QFontMetricsF metrics(font());
    double width = metrics.horizontalAdvance(text()) + 2 * horizontalPadding;
    if (!m_symbol.isEmpty())
        width += m_pointSize + symbolGap;
    const double height = std::ceil(metrics.height() + 12);
    return {int(std::ceil(width)), int(height)};
}

void TextButton::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        animateClick();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void TextButton::paintEvent(QPaintEvent*) {
    if (accessibleName() != text())
        setAccessibleName(text());
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    const QPalette& colors = palette();
    const QRectF frame = QRectF(rect()).adjusted(1, 1, -1, -1);
    const QPainterPath outline = Shapes::continuousRoundedRect(frame, cornerRadius);

    QColor fill;
    QColor ink;
    switch (m_style) {
    case Style::Secondary:
        fill = colors.color(QPalette::AlternateBase);
        ink = colors.color(QPalette::ButtonText);
        break;
    case Style::Prominent:
        fill = colors.color(QPalette::Active, QPalette::Highlight);
        ink = colors.color(QPalette::Active, QPalette::HighlightedText);
        break;
    case Style::Destructive:
        fill = Theme::destructive();
        ink = Qt::white;
        break;
    case Style::Borderless:
        fill = isDown() ? colors.color(QPalette::AlternateBase) : QColor(Qt::transparent);
        ink = colors.color(QPalette::Highlight);
        break;
    }
    // A filled button that cannot be pressed keeps its colour, faded, so it still reads as the
    // dialog's main action and not as a dark block that draws the eye.
    const bool faded = !isEnabled() && (m_style == Style::Prominent || m_style == Style::Destructive);
    if (!isEnabled() && !faded)
        ink = colors.color(QPalette::Disabled, QPalette::ButtonText);
    painter.setOpacity(faded ? 0.4 : isDown() && m_style != Style::Borderless ? 0.75 : 1.0);
    painter.fillPath(outline, fill);
    painter.setOpacity(faded ? 0.7 : 1.0);

    const QFontMetricsF metrics(font());
    const double symbolWidth = m_symbol.isEmpty() ? 0 : m_pointSize + symbolGap;
    const double contentWidth = symbolWidth + metrics.horizontalAdvance(text());
    double x = (width() - contentWidth) / 2;
    if (!m_symbol.isEmpty()) {
        const double scale = devicePixelRatioF();
        if (const std::optional<QImage> image = Symbols::image(m_symbol, (m_pointSize - 0.5) * scale, true, ink)) {
            const double side = image->width() / scale;
            painter.drawImage(QRectF(x, (height() - side) / 2, side, side), *image);
        }
        x += symbolWidth;
    }
    painter.setPen(ink);
    painter.drawText(QRectF(x, 0, width() - x, height()), Qt::AlignLeft | Qt::AlignVCenter, text());
    if (FocusRing::shows(*this))
        FocusRing::paintInside(painter, outline, colors);
}
