#pragma once

#include "RawEnum.h"
#include "platform/DockHostIds.h"

#include <algorithm>
#include <array>

enum class TileBackground { Frosted, Dark, Light, Blue, Green, Red, Orange, Pink, Purple, Yellow, Custom };
enum class TileBackgroundMode { Solid, Gradient, Glass };
enum class AppLanguage { English, Ukrainian };
// System follows the desktop's light or dark preference.
enum class AppThemeMode { Dark, Light, System };
enum class PopupBlur { Thin, Regular, Dark };
enum class PopupPosition { Center, AboveDock };
enum class PopupAnimation { Spring, None };

// Which dock the folders stand in; automatic takes the one that runs in the session. Stored as the
// hosts' own ids (DockHostIds), so it has no raw table of its own.
enum class DockHostChoice { Automatic, GnomeShell, Plank, KdePlasma, TrellinDock };

// The dock choices in the order the interface offers them.
inline constexpr std::array kDockHostChoices{DockHostChoice::Automatic, DockHostChoice::GnomeShell,
                                             DockHostChoice::Plank, DockHostChoice::KdePlasma,
                                             DockHostChoice::TrellinDock};

// The Dock's screen edge: computed at run time, never stored, so it has no raw value.
enum class DockEdge { Bottom, Left, Right };

inline constexpr RawTable<TileBackground, 11> kTileBackgroundCases{{
    {TileBackground::Frosted, "frosted"},
    {TileBackground::Dark, "dark"},
    {TileBackground::Light, "light"},
    {TileBackground::Blue, "blue"},
    {TileBackground::Green, "green"},
    {TileBackground::Red, "red"},
    {TileBackground::Orange, "orange"},
    {TileBackground::Pink, "pink"},
    {TileBackground::Purple, "purple"},
    {TileBackground::Yellow, "yellow"},
    {TileBackground::Custom, "custom"},
}};

inline constexpr RawTable<TileBackgroundMode, 3> kTileBackgroundModeCases{{
    {TileBackgroundMode::Solid, "solid"},
    {TileBackgroundMode::Gradient, "gradient"},
    {TileBackgroundMode::Glass, "glass"},
}};

inline constexpr RawTable<AppLanguage, 2> kAppLanguageCases{{
    {AppLanguage::English, "en"},
    {AppLanguage::Ukrainian, "uk"},
}};

inline constexpr RawTable<AppThemeMode, 3> kAppThemeModeCases{{
    {AppThemeMode::Dark, "dark"},
    {AppThemeMode::Light, "light"},
    {AppThemeMode::System, "system"},
}};

// The theme choices in the order the interface offers them.
inline constexpr std::array kAppThemeModes{AppThemeMode::Dark, AppThemeMode::Light, AppThemeMode::System};

inline int themeChoiceIndex(AppThemeMode theme) {
    return int(std::find(kAppThemeModes.begin(), kAppThemeModes.end(), theme) - kAppThemeModes.begin());
}

inline constexpr RawTable<PopupBlur, 3> kPopupBlurCases{{
    {PopupBlur::Thin, "thin"},
    {PopupBlur::Regular, "regular"},
    {PopupBlur::Dark, "dark"},
}};

inline constexpr RawTable<PopupPosition, 2> kPopupPositionCases{{
    {PopupPosition::Center, "center"},
    {PopupPosition::AboveDock, "aboveDock"},
}};

inline constexpr RawTable<PopupAnimation, 2> kPopupAnimationCases{{
    {PopupAnimation::Spring, "spring"},
    {PopupAnimation::None, "none"},
}};

inline QString rawValue(TileBackground value) {
    return rawValueIn(kTileBackgroundCases, value);
}
inline QString rawValue(TileBackgroundMode value) {
    return rawValueIn(kTileBackgroundModeCases, value);
}
inline QString rawValue(AppLanguage value) {
    return rawValueIn(kAppLanguageCases, value);
}
inline QString rawValue(AppThemeMode value) {
    return rawValueIn(kAppThemeModeCases, value);
}
inline QString rawValue(PopupBlur value) {
    return rawValueIn(kPopupBlurCases, value);
}
inline QString rawValue(PopupPosition value) {
    return rawValueIn(kPopupPositionCases, value);
}
inline QString rawValue(PopupAnimation value) {
    return rawValueIn(kPopupAnimationCases, value);
}
inline QString rawValue(DockHostChoice value) {
    switch (value) {
    case DockHostChoice::Automatic:
        break;
    case DockHostChoice::GnomeShell:
        return DockHostIds::gnomeShell;
    case DockHostChoice::Plank:
        return DockHostIds::plank;
    case DockHostChoice::KdePlasma:
        return DockHostIds::kdePlasma;
    case DockHostChoice::TrellinDock:
        return DockHostIds::trellinDock;
    }
    return DockHostIds::automatic;
}
// "No value" for a text that names no choice; matching is exact, as for every stored enum.
inline std::optional<DockHostChoice> dockHostChoice(const QString& raw) {
    for (const DockHostChoice choice : kDockHostChoices) {
        if (raw == rawValue(choice))
            return choice;
    }
    return std::nullopt;
}
