#include "Theme.h"

#include "Shapes.h"

#include <QPainter>
#include <QToolTip>
#include <QWidget>

namespace {

QColor rgb(int r, int g, int b, double alpha = 1.0) {
    QColor color(r, g, b);
    color.setAlphaF(float(alpha));
    return color;
}

} // namespace

QPalette Theme::palette(ColorScheme scheme) {
    const bool dark = scheme == ColorScheme::Dark;
    QPalette palette;
    const QColor window = dark ? rgb(30, 30, 32) : rgb(242, 242, 246);
    const QColor card = dark ? rgb(44, 44, 47) : rgb(255, 255, 255);
    const QColor control = dark ? rgb(255, 255, 255, 0.09) : rgb(0, 0, 0, 0.055);
    const QColor text = dark ? rgb(245, 245, 247) : rgb(28, 28, 30);
    // Secondary text keeps 4.5:1 on a card, the window and a control's fill.
    const QColor secondary = dark ? rgb(235, 235, 245, 0.70) : rgb(60, 60, 67, 0.78);
    const QColor hairline = dark ? rgb(255, 255, 255, 0.10) : rgb(0, 0, 0, 0.09);
    // 3:1 on a card and on the window, where a hairline would leave the control unseen.
    const QColor edge = dark ? rgb(255, 255, 255, 0.40) : rgb(0, 0, 0, 0.45);
    const QColor tipBase = dark ? rgb(58, 58, 62) : rgb(255, 255, 255);
    const QColor accent = dark ? rgb(10, 132, 255) : rgb(0, 122, 255);
    const QColor selected = dark ? rgb(99, 99, 102) : rgb(255, 255, 255);
    // A disabled control keeps its fills and lines; only its texts fade.
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Window, window);
        palette.setColor(group, QPalette::Base, card);
        palette.setColor(group, QPalette::AlternateBase, control);
        palette.setColor(group, QPalette::Mid, hairline);
        palette.setColor(group, QPalette::Dark, edge);
        palette.setColor(group, QPalette::ToolTipBase, tipBase);
        palette.setColor(group, QPalette::ToolTipText, text);
        palette.setColor(group, QPalette::Text, text);
        palette.setColor(group, QPalette::WindowText, text);
        palette.setColor(group, QPalette::ButtonText, text);
        palette.setColor(group, QPalette::PlaceholderText, secondary);
        palette.setColor(group, QPalette::Highlight, accent);
        palette.setColor(group, QPalette::HighlightedText, Qt::white);
        palette.setColor(group, QPalette::Button, selected);
    }
    palette.setColor(QPalette::Disabled, QPalette::Text, secondary);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, secondary);
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, secondary);
    palette.setColor(QPalette::Disabled, QPalette::Highlight, secondary);
    return palette;
}

void Theme::applyToToolTips(ColorScheme scheme) {
    // Tooltips are windows of their own that take the application's tooltip palette, not the
    // palette of the widget they describe.
    QToolTip::setPalette(palette(scheme));
}

ColorScheme Theme::schemeOf(const QWidget& widget) {
    return widget.palette().color(QPalette::Window).lightness() < 128 ? ColorScheme::Dark : ColorScheme::Light;
}

QColor Theme::destructive() {
    return QColor(255, 59, 48);
}

void Theme::paintPanel(QPainter& painter, const QRectF& rect, double cornerRadius, const QPalette& palette) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QPainterPath outline = Shapes::continuousRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), cornerRadius);
    painter.fillPath(outline, palette.color(QPalette::Base));
    painter.setPen(QPen(palette.color(QPalette::Mid), 1));
    painter.drawPath(outline);
    painter.restore();
}
