#include "SettingsFormats.h"

#include "settings/Localization.h"

#include <cmath>

namespace {

// Slider values come from binary arithmetic (0.57 × 100 = 56.999…) and from stored fractions: a
// label shows the nearest whole number, so neither costs the user a unit.
qint64 nearestWhole(double value) {
    return std::isfinite(value) ? qint64(std::llround(value)) : 0;
}

} // namespace

namespace SettingsFormats {

QString percentText(double fraction) {
    return QString::number(nearestWhole(fraction * 100)) + u'%';
}

QString pointsText(const Localization& localization, double points) {
    return localization.pointsText(nearestWhole(points));
}

QString borderWidthText(const Localization& localization, double width) {
    return localization.decimalText(width, 1);
}

} // namespace SettingsFormats
