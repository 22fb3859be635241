#include "TileColorHex.h"

#include <algorithm>
#include <cmath>

namespace {

int byte(double component) {
    // std::round takes halves away from zero.
    return int(std::round(std::clamp(component, 0.0, 1.0) * 255.0));
}

} // namespace

QString TileColorHex::hexString(const Rgba& color) {
    return QString::asprintf("%02X%02X%02X", byte(color.red), byte(color.green), byte(color.blue));
}

QString TileColorHex::hexString(const QColor& color) {
    return hexString(deviceRgb(color));
}

Rgba TileColorHex::deviceRgb(const QColor& color) {
    if (!color.isValid())
        return {1, 1, 1, 1};
    const QColor rgb = color.toRgb();
    return {rgb.redF(), rgb.greenF(), rgb.blueF(), rgb.alphaF()};
}

QColor TileColorHex::toQColor(const Rgba& color) {
    return QColor::fromRgbF(float(color.red), float(color.green), float(color.blue), float(color.alpha));
}

bool TileColorHex::isSameSwatch(const QColor& a, const QColor& b) {
    const Rgba first = deviceRgb(a);
    const Rgba second = deviceRgb(b);
    constexpr double tolerance = 0.02;
    return std::abs(first.red - second.red) < tolerance && std::abs(first.green - second.green) < tolerance &&
           std::abs(first.blue - second.blue) < tolerance;
}

int TileColorHex::swipeTarget(int currentIndex, int count, double predictedEndTranslation) {
    if (count <= 0)
        return -1;
    int target = std::clamp(currentIndex, 0, count - 1);
    if (predictedEndTranslation < -swipeThreshold)
        ++target;
    else if (predictedEndTranslation > swipeThreshold)
        --target;
    return std::clamp(target, 0, count - 1);
}
