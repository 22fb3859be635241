#pragma once

#include "Enums.h"

#include <QString>

#include <optional>

// The appearance of one folder's Dock tile.
struct TileStyleSettings {
    bool displayFolderIcon = false;
    double opacity = 0.64;
    double cornerRadius = 12.0;
    TileBackground backgroundStyle = TileBackground::Light;
    std::optional<QString> customHex; // RRGGBB, upper case, no "#"
    TileBackgroundMode backgroundMode = TileBackgroundMode::Gradient;
    bool borderEnabled = false;
    double borderWidth = 3.0;
    double borderOpacity = 1.0;

    bool operator==(const TileStyleSettings&) const = default;
};
