#include "PopupStyle.h"

#include "model/TileColors.h"
#include "widgets/Fonts.h"

namespace {

QColor white(double level, double alpha) {
    return QColor::fromRgbF(float(level), float(level), float(level), float(alpha));
}

} // namespace

PopupPalette PopupPalette::forScheme(ColorScheme scheme) {
    const bool light = scheme == ColorScheme::Light;
    const QColor pin = QColor::fromRgbF(0.3216f, 0.5176f, 1.0f);
    const auto orange = [light](double alpha) {
        const Rgba c = systemColor(SystemColor::Orange, light ? Appearance::Light : Appearance::Dark, alpha);
        return QColor::fromRgbF(float(c.red), float(c.green), float(c.blue), float(c.alpha));
    };
    return {
        .title = light ? white(0, 0.82) : white(1, 0.92),
        .appName = light ? white(0, 0.62) : white(1, 0.62),
        .divider = light ? white(0, 0.08) : white(1, 0.07),
        .stroke = light ? white(0, 0.10) : white(1, 0.11),
        .pinSymbol = pin,
        .noticeText = light ? white(0, 0.82) : white(1, 0.92),
        .noticeSymbol = orange(1.0),
        .noticeFill = orange(light ? 0.14 : 0.2),
        .outerShadow = {light ? white(0, 0.14) : white(0, 0.15), 15.0, {0, 8.0}},
        .innerShadow = {light ? white(0, 0.08) : white(0, 0.10), 5.0, {0, 2.0}},
    };
}

QFont PopupStyle::titleFont() {
    return Fonts::rounded(14, QFont::Bold);
}

QFont PopupStyle::appNameFont() {
    return Fonts::rounded(11, QFont::Medium);
}

QFont PopupStyle::emptyFolderFont() {
    return Fonts::rounded(12, QFont::Medium);
}

QColor PopupStyle::materialFill(PopupBlur blur, double opacity, ColorScheme scheme, bool translucent) {
    const double tone = scheme == ColorScheme::Light ? 0.965 : 0.155;
    double alpha = 0;
    switch (blur) {
    case PopupBlur::Thin:
        alpha = 0.72;
        break;
    case PopupBlur::Regular:
        alpha = 0.84;
        break;
    case PopupBlur::Dark:
        alpha = 0.93;
        break;
    }
    return white(tone, translucent ? alpha * opacity : 1.0);
}

GlyphButtonStyle PopupPinButtonStyle::style() {
    return {.pointSize = 13,
            .bold = false,
            .color = PopupPalette::forScheme(ColorScheme::Light).pinSymbol,
            .frame = {22, 22},
            .circle = std::nullopt,
            .circleEdge = std::nullopt,
            .pressedOpacity = 0.72};
}

GlyphButtonStyle PopupCloseButtonStyle::style() const {
    const bool dark = colorScheme == ColorScheme::Dark;
    return {.pointSize = 10,
            .bold = true,
            .color = dark ? white(1, 0.92) : white(1, 1),
            .frame = {18, 18},
            .circle = dark ? white(1, 0.16) : white(0, 0.7),
            .circleEdge = std::nullopt,
            .pressedOpacity = 0.78};
}
