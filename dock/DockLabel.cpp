#include "DockLabel.h"

#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int kPaddingX = 10;
constexpr int kPaddingY = 4;

} // namespace

DockLabel::DockLabel(QWidget* owner)
    : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TranslucentBackground);
    QFont font = this->font();
    font.setPointSizeF(font.pointSizeF() * 1.1);
    setFont(font);
}

void DockLabel::setText(const QString& text) {
    m_text = text;
    // The window manager and assistive tools see the name too.
    setWindowTitle(text);
    setAccessibleName(text);
    resize(sizeHint());
    // Without compositing the corners would show black: cut the window to the plate.
    QPainterPath plate;
    plate.addRoundedRect(QRectF(rect()), height() / 2.0, height() / 2.0);
    setMask(QRegion(plate.toFillPolygon().toPolygon()));
    update();
}

QSize DockLabel::sizeHint() const {
    const QFontMetrics metrics(font());
    return {metrics.horizontalAdvance(m_text) + 2 * kPaddingX, metrics.height() + 2 * kPaddingY};
}

DockLabel::Colours DockLabel::coloursFor(const QPalette& palette) {
    if (palette.color(QPalette::Window).lightness() < 128)
        return {QColor(36, 36, 40, 240), QColor(245, 245, 247), QColor(255, 255, 255, 60)};
    return {QColor(250, 250, 252, 245), QColor(28, 28, 30), QColor(0, 0, 0, 50)};
}

void DockLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    const Colours colours = coloursFor(palette());
    QPainterPath plate;
    const QRectF bounds = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    plate.addRoundedRect(bounds, bounds.height() / 2, bounds.height() / 2);
    painter.fillPath(plate, colours.plate);
    painter.setPen(QPen(colours.stroke, 1));
    painter.drawPath(plate);
    painter.setPen(colours.text);
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, m_text);
}
