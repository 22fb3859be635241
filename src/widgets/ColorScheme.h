#pragma once

#include "model/Enums.h"

// The appearance a view draws in.
enum class ColorScheme { Light, Dark };

// Light for the light theme, dark otherwise. Give it the resolved theme, in which `system` has
// already become the desktop's light or dark.
constexpr ColorScheme colorSchemeFor(AppThemeMode theme) {
    return theme == AppThemeMode::Light ? ColorScheme::Light : ColorScheme::Dark;
}
