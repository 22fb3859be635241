#include "SettingsFormats.h"

#include "settings/Localization.h"

#include <cmath>

namespace {

// Slider values come from binary arithmetic, so a value meant to be whole can land a hair below it
// (0.57 × 100 = 56.999…); such a hair must not cost a whole unit when truncating.
constexpr double hair = 1e-9;

qint64 truncateTowardZero(double value) {
    if (!std::isfinite(value))
        return 0;
    return qint64(value < 0 ? std::ceil(value - hair) : std::floor(value + hair));
}

} // namespace

namespace SettingsFormats {

QString percentText(double fraction) {
    return QString::number(truncateTowardZero(fraction * 100)) + u'%';
}

QString pointsText(const Localization& localization, double points) {
    return localization.pointsText(truncateTowardZero(points));
}

QString borderWidthText(const Localization& localization, double width) {
    return localization.decimalText(width, 1);
}

} // namespace SettingsFormats
