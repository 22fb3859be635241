#include "TileColors.h"

#include <QList>

#include <array>

namespace {

struct SystemColorValues {
    int light[3];
    int dark[3];
};

// The platform's named colours in sRGB, for the light and the dark appearance.
constexpr std::array<SystemColorValues, 7> kSystemColors{{
    {{0, 122, 255}, {10, 132, 255}},  // blue
    {{52, 199, 89}, {48, 209, 88}},   // green
    {{255, 59, 48}, {255, 69, 58}},   // red
    {{255, 149, 0}, {255, 159, 10}},  // orange
    {{255, 45, 85}, {255, 55, 95}},   // pink
    {{175, 82, 222}, {191, 90, 242}}, // purple
    {{255, 204, 0}, {255, 214, 10}},  // yellow
}};

Rgba white(double level, double alpha) {
    return {level, level, level, alpha};
}

bool isLetterMarkOrDigit(char32_t c) {
    return QChar::isLetterOrNumber(c) || QChar::isMark(c);
}

} // namespace

Rgba systemColor(SystemColor color, Appearance appearance, double alpha) {
    const SystemColorValues& values = kSystemColors.at(static_cast<std::size_t>(color));
    const int* rgb = appearance == Appearance::Dark ? values.dark : values.light;
    return {rgb[0] / 255.0, rgb[1] / 255.0, rgb[2] / 255.0, alpha};
}

Rgba baseColor(const TileStyleSettings& style, Appearance appearance) {
    const double alpha = style.opacity;
    switch (style.backgroundStyle) {
    case TileBackground::Frosted:
        return white(0.9, alpha * 0.85);
    case TileBackground::Dark:
        return white(0.1, alpha);
    case TileBackground::Light:
        break;
    case TileBackground::Blue:
        return systemColor(SystemColor::Blue, appearance, alpha);
    case TileBackground::Green:
        return systemColor(SystemColor::Green, appearance, alpha);
    case TileBackground::Red:
        return systemColor(SystemColor::Red, appearance, alpha);
    case TileBackground::Orange:
        return systemColor(SystemColor::Orange, appearance, alpha);
    case TileBackground::Pink:
        return systemColor(SystemColor::Pink, appearance, alpha);
    case TileBackground::Purple:
        return systemColor(SystemColor::Purple, appearance, alpha);
    case TileBackground::Yellow:
        return systemColor(SystemColor::Yellow, appearance, alpha);
    case TileBackground::Custom:
        if (style.customHex) {
            if (const auto custom = colorFromHex(*style.customHex))
                return {custom->red, custom->green, custom->blue, alpha};
        }
        break;
    }
    return white(0.95, alpha);
}

std::optional<Rgba> colorFromHex(const QString& text) {
    const QList<uint> codePoints = text.toUcs4();
    qsizetype first = 0;
    qsizetype last = codePoints.size();
    while (first < last && !isLetterMarkOrDigit(codePoints.at(first)))
        ++first;
    while (last > first && !isLetterMarkOrDigit(codePoints.at(last - 1)))
        --last;
    if (last - first != 6)
        return std::nullopt;

    // Trimming has removed any sign, so what remains must be six hexadecimal digits.
    int value = 0;
    for (qsizetype i = first; i < last; ++i) {
        const uint c = codePoints.at(i);
        int digit;
        if (c >= '0' && c <= '9')
            digit = int(c - '0');
        else if (c >= 'a' && c <= 'f')
            digit = int(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            digit = int(c - 'A' + 10);
        else
            return std::nullopt;
        value = value * 16 + digit;
    }
    const auto component = [value](int shift) { return double((value >> shift) & 0xFF) / 255.0; };
    return Rgba{component(16), component(8), component(0), 1.0};
}
