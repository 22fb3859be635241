#include "SettingFields.h"

#include "platform/NotificationNames.h"
#include "platform/UserDefaults.h"

#include <algorithm>
#include <array>
#include <type_traits>

namespace {

using Field = AppSettings::Field;
using Extra = SettingField::Extra;
namespace Notice = NotificationName;

constexpr std::array kFields{
    SettingField{.field = Field::IsUpdating, .defaultValue = false},
    SettingField{
        .field = Field::LaunchAtLogin, .key = "launchAtLogin", .defaultValue = false, .extra = Extra::UpdateLoginItem},
    SettingField{.field = Field::Language,
                 .key = "language",
                 .defaultValue = AppLanguage::English,
                 .notice = Notice::languageChanged,
                 .extra = Extra::MirrorAppleLanguages},
    SettingField{
        .field = Field::ShowMenuBar, .key = "showMenuBar", .defaultValue = false, .notice = Notice::showMenuBarChanged},
    SettingField{.field = Field::AppTheme,
                 .key = "appTheme",
                 .defaultValue = AppThemeMode::Dark,
                 .notice = Notice::themeChanged,
                 .broadcast = Notice::TRThemeChanged},
    SettingField{.field = Field::HasCompletedOnboarding,
                 .key = "hasCompletedOnboarding",
                 .defaultValue = false,
                 .onboardingSources = true,
                 .extra = Extra::MirrorToContainer},
    SettingField{.field = Field::TileOpacity,
                 .key = "tileOpacity",
                 .defaultValue = 1.0,
                 .notice = Notice::tileAppearanceChanged},
    SettingField{.field = Field::TileCornerRadius,
                 .key = "tileCornerRadius",
                 .defaultValue = 12.0,
                 .notice = Notice::tileAppearanceChanged},
    SettingField{.field = Field::TileBackgroundStyle,
                 .key = "tileBackgroundStyle",
                 .defaultValue = TileBackground::Frosted,
                 .notice = Notice::tileAppearanceChanged},
    SettingField{.field = Field::TileBackgroundMode,
                 .key = "tileBackgroundMode",
                 .defaultValue = TileBackgroundMode::Solid,
                 .notice = Notice::tileAppearanceChanged},
    SettingField{.field = Field::TileBorderEnabled,
                 .key = "tileBorderEnabled",
                 .defaultValue = true,
                 .notice = Notice::tileAppearanceChanged},
    SettingField{.field = Field::TileBorderWidth,
                 .key = "tileBorderWidth",
                 .defaultValue = 1.0,
                 .notice = Notice::tileAppearanceChanged},
    SettingField{.field = Field::TileBorderOpacity,
                 .key = "tileBorderOpacity",
                 .defaultValue = 0.3,
                 .notice = Notice::tileAppearanceChanged},
    SettingField{.field = Field::TileIconPadding,
                 .key = "tileIconPadding",
                 .defaultValue = 4.0,
                 .notice = Notice::tileAppearanceChanged},
    SettingField{.field = Field::PopupShowTitle,
                 .key = "popupShowTitle",
                 .defaultValue = true,
                 .notice = Notice::popupSettingsChanged},
    SettingField{.field = Field::PopupColumns,
                 .key = "popupColumns",
                 .defaultValue = qint64{3},
                 .range = SettingField::Range{3, 6},
                 .notice = Notice::popupSettingsChanged},
    SettingField{.field = Field::PopupIconSize,
                 .key = "popupIconSize",
                 .defaultValue = 52.0,
                 .notice = Notice::popupSettingsChanged},
    SettingField{.field = Field::PopupShowAppName,
                 .key = "popupShowAppName",
                 .defaultValue = true,
                 .notice = Notice::popupSettingsChanged},
    SettingField{.field = Field::PopupPosition,
                 .key = "popupPosition",
                 .defaultValue = PopupPosition::AboveDock,
                 .notice = Notice::popupSettingsChanged},
    SettingField{.field = Field::PopupBlurStyle,
                 .key = "popupBlurStyle",
                 .defaultValue = PopupBlur::Thin,
                 .notice = Notice::popupSettingsChanged},
    SettingField{.field = Field::PopupOpacity,
                 .key = "popupOpacity",
                 .defaultValue = 0.95,
                 .notice = Notice::popupSettingsChanged},
    SettingField{.field = Field::PopupAnimationStyle,
                 .key = "popupAnimationStyle",
                 .defaultValue = PopupAnimation::Spring,
                 .notice = Notice::popupSettingsChanged},
    // Deliberately announced to nobody.
    SettingField{.field = Field::SingleClickOpensPopup, .key = "singleClickOpensPopup", .defaultValue = true},
    // Set by the popup's placement for its content; lives only as long as the process.
    SettingField{.field = Field::PopupArrowOffset, .defaultValue = 0.0},
    SettingField{.field = Field::DockHost,
                 .key = "dockHost",
                 .defaultValue = DockHostChoice::Automatic,
                 .notice = Notice::dockHostChanged},
};

// Rows are found by position, so a row out of place would lend its key and actions to another field.
constexpr bool rowsAreWellFormed() {
    for (std::size_t i = 0; i < kFields.size(); ++i) {
        const SettingField& row = kFields[i];
        if (row.field != Field(i) || (row.range && !std::holds_alternative<qint64>(row.defaultValue)))
            return false;
    }
    return true;
}
static_assert(rowsAreWellFormed(), "every row in the place of its field; ranges on integers only");

// The raw values of each enum a field can hold.
struct Cases {
    static constexpr const auto& of(TileBackground) { return kTileBackgroundCases; }
    static constexpr const auto& of(TileBackgroundMode) { return kTileBackgroundModeCases; }
    static constexpr const auto& of(AppLanguage) { return kAppLanguageCases; }
    static constexpr const auto& of(AppThemeMode) { return kAppThemeModeCases; }
    static constexpr const auto& of(PopupBlur) { return kPopupBlurCases; }
    static constexpr const auto& of(PopupPosition) { return kPopupPositionCases; }
    static constexpr const auto& of(PopupAnimation) { return kPopupAnimationCases; }
};

} // namespace

std::span<const SettingField> settingFields() {
    return kFields;
}

const SettingField& settingField(AppSettings::Field field) {
    Q_ASSERT(std::size_t(field) < kFields.size());
    return kFields[std::size_t(field)];
}

AppSettings::Value SettingField::read(const QVariant& stored) const {
    if (!stored.isValid())
        return defaultValue;
    const auto convert = [&stored](auto fallback) -> AppSettings::Value {
        using T = decltype(fallback);
        if constexpr (std::is_same_v<T, bool>)
            return DefaultsConversions::toBool(stored);
        else if constexpr (std::is_same_v<T, qint64>)
            return DefaultsConversions::toInteger(stored);
        else if constexpr (std::is_same_v<T, double>)
            return DefaultsConversions::toDouble(stored);
        else if constexpr (std::is_same_v<T, DockHostChoice>)
            return dockHostChoice(DefaultsConversions::toString(stored).value_or(QString())).value_or(fallback);
        else
            return caseIn(Cases::of(fallback), DefaultsConversions::toString(stored).value_or(QString()))
                .value_or(fallback);
    };
    return clamped(std::visit(convert, defaultValue));
}

AppSettings::Value SettingField::clamped(const AppSettings::Value& value) const {
    if (!range)
        return value;
    return std::clamp(std::get<qint64>(value), range->lowest, range->highest);
}

QVariant toStored(const AppSettings::Value& value) {
    return std::visit(
        [](auto held) -> QVariant {
            if constexpr (std::is_enum_v<decltype(held)>)
                return rawValue(held);
            else
                return QVariant(held);
        },
        value);
}
