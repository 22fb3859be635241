#pragma once

#include "TileStyleSettings.h"

#include <QString>

#include <optional>

// A colour as red, green, blue and alpha components in 0…1.
struct Rgba {
    double red = 0;
    double green = 0;
    double blue = 0;
    double alpha = 1;

    bool operator==(const Rgba&) const = default;
};

// The adaptive system colours; each has one value in the light and one in the dark appearance.
enum class SystemColor { Blue, Green, Red, Orange, Pink, Purple, Yellow };
enum class Appearance { Light, Dark };

Rgba systemColor(SystemColor color, Appearance appearance, double alpha = 1.0);

// The solid colour a tile's background starts from; its alpha is the style's opacity.
Rgba baseColor(const TileStyleSettings& style, Appearance appearance = Appearance::Light);

// Reads RRGGBB, ignoring anything around the digits that is not a letter, mark or digit.
std::optional<Rgba> colorFromHex(const QString& text);
