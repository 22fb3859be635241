#pragma once

#include "model/Enums.h"
#include "platform/LoginItem.h"

#include <QObject>
#include <QString>

#include <memory>
#include <optional>
#include <variant>
#include <vector>

class DesktopColorScheme;
class DistributedNotifications;
class LocalNotificationCenter;
class Scheduler;
class Throttle;
class UserDefaults;

// One reading of the onboarding flag from a preferences file.
struct OnboardingFlagSnapshot {
    bool value = false;
    double modifiedAt = 0; // seconds since 1970; the distant past when the file's date is unknown
};

// The global preferences, each kept in the user defaults under its own key. Every assignment
// writes the value and announces it (outside a reload); observers hear of real changes only.
// What each field stores, reads and announces is described once, in SettingFields.cpp.
//
// A slider assigns its number dozens of times a second, and every write wakes every helper. So a
// number assigned again within `writeInterval` of its last write waits for the end of that
// interval and is written and announced there, with the latest value: a single assignment still
// writes at once, a drag writes a few times a second, and its last value always lands. The field
// itself, and its `changed` signal, follow every assignment at once.
class AppSettings : public QObject {
    Q_OBJECT
public:
    // Fields in declaration order, which is also the order of their rows in SettingFields.cpp.
    enum class Field {
        IsUpdating,
        LaunchAtLogin,
        Language,
        ShowMenuBar,
        AppTheme,
        HasCompletedOnboarding,
        TileOpacity,
        TileCornerRadius,
        TileBackgroundStyle,
        TileBackgroundMode,
        TileBorderEnabled,
        TileBorderWidth,
        TileBorderOpacity,
        TileIconPadding,
        PopupShowTitle,
        PopupColumns,
        PopupIconSize,
        PopupShowAppName,
        PopupPosition,
        PopupBlurStyle,
        PopupOpacity,
        PopupAnimationStyle,
        SingleClickOpensPopup,
        PopupArrowOffset,
        DockHost,
    };
    Q_ENUM(Field)

    // A field's value, held in the field's own type.
    using Value = std::variant<bool, qint64, double, AppLanguage, AppThemeMode, TileBackground, TileBackgroundMode,
                               PopupPosition, PopupBlur, PopupAnimation, DockHostChoice>;

    struct Services {
        Scheduler& scheduler;
        UserDefaults& defaults;
        LocalNotificationCenter& notifications;
        DistributedNotifications& distributedNotifications;
        LoginItem& loginItem;
        QString bundleIdentifier; // empty when the running bundle has none
        QString homeDirectory;
        QString foldersFilePath;
        // Where `system` takes its light or dark from; none reads as light. While the theme is
        // `system`, a change of the desktop's preference is announced as a change of the theme to
        // this process's observers only: nothing is written, as every other process hears the
        // desktop itself.
        DesktopColorScheme* desktopColorScheme = nullptr;
    };

    // The shortest time between two writes of one number.
    static constexpr double writeInterval = 0.25;

    // Reads every stored field; writes and posts nothing.
    explicit AppSettings(Services services, QObject* parent = nullptr);
    // A number still waiting to be written is written (not announced).
    ~AppSettings() override;

    // The field's user-defaults key; empty for a field that is never stored.
    static QString key(Field field);

    // Re-reads every stored field but the onboarding flag, writing and posting nothing. A number
    // assigned here and still waiting to be written keeps its value: the store holds an older one.
    // True when a field took a new value.
    bool reloadFromDefaults();

    bool isUpdating() const { return get<bool>(Field::IsUpdating); }
    bool launchAtLogin() const { return get<bool>(Field::LaunchAtLogin); }
    AppLanguage language() const { return get<AppLanguage>(Field::Language); }
    bool showMenuBar() const { return get<bool>(Field::ShowMenuBar); }
    AppThemeMode appTheme() const { return get<AppThemeMode>(Field::AppTheme); }
    // The theme to draw in: light or dark, the desktop's preference standing in for `system`.
    AppThemeMode resolvedTheme() const;
    bool hasCompletedOnboarding() const { return get<bool>(Field::HasCompletedOnboarding); }
    double tileOpacity() const { return get<double>(Field::TileOpacity); }
    double tileCornerRadius() const { return get<double>(Field::TileCornerRadius); }
    TileBackground tileBackgroundStyle() const { return get<TileBackground>(Field::TileBackgroundStyle); }
    TileBackgroundMode tileBackgroundMode() const { return get<TileBackgroundMode>(Field::TileBackgroundMode); }
    bool tileBorderEnabled() const { return get<bool>(Field::TileBorderEnabled); }
    double tileBorderWidth() const { return get<double>(Field::TileBorderWidth); }
    double tileBorderOpacity() const { return get<double>(Field::TileBorderOpacity); }
    double tileIconPadding() const { return get<double>(Field::TileIconPadding); }
    bool popupShowTitle() const { return get<bool>(Field::PopupShowTitle); }
    qint64 popupColumns() const { return get<qint64>(Field::PopupColumns); }
    double popupIconSize() const { return get<double>(Field::PopupIconSize); }
    bool popupShowAppName() const { return get<bool>(Field::PopupShowAppName); }
    PopupPosition popupPosition() const { return get<PopupPosition>(Field::PopupPosition); }
    PopupBlur popupBlurStyle() const { return get<PopupBlur>(Field::PopupBlurStyle); }
    double popupOpacity() const { return get<double>(Field::PopupOpacity); }
    PopupAnimation popupAnimationStyle() const { return get<PopupAnimation>(Field::PopupAnimationStyle); }
    bool singleClickOpensPopup() const { return get<bool>(Field::SingleClickOpensPopup); }
    double popupArrowOffset() const { return get<double>(Field::PopupArrowOffset); }
    // The dock chosen on the General page; its id (DockHostIds) is rawValue(dockHost()).
    DockHostChoice dockHost() const { return get<DockHostChoice>(Field::DockHost); }

    void setLaunchAtLogin(bool value) { assign(Field::LaunchAtLogin, value); }
    void setLanguage(AppLanguage value) { assign(Field::Language, value); }
    void setShowMenuBar(bool value) { assign(Field::ShowMenuBar, value); }
    void setAppTheme(AppThemeMode value) { assign(Field::AppTheme, value); }
    void setHasCompletedOnboarding(bool value) { assign(Field::HasCompletedOnboarding, value); }
    void setTileOpacity(double value) { assign(Field::TileOpacity, value); }
    void setTileCornerRadius(double value) { assign(Field::TileCornerRadius, value); }
    void setTileBackgroundStyle(TileBackground value) { assign(Field::TileBackgroundStyle, value); }
    void setTileBackgroundMode(TileBackgroundMode value) { assign(Field::TileBackgroundMode, value); }
    void setTileBorderEnabled(bool value) { assign(Field::TileBorderEnabled, value); }
    void setTileBorderWidth(double value) { assign(Field::TileBorderWidth, value); }
    void setTileBorderOpacity(double value) { assign(Field::TileBorderOpacity, value); }
    void setTileIconPadding(double value) { assign(Field::TileIconPadding, value); }
    void setPopupShowTitle(bool value) { assign(Field::PopupShowTitle, value); }
    void setPopupColumns(qint64 value) { assign(Field::PopupColumns, value); }
    void setPopupIconSize(double value) { assign(Field::PopupIconSize, value); }
    void setPopupShowAppName(bool value) { assign(Field::PopupShowAppName, value); }
    void setPopupPosition(PopupPosition value) { assign(Field::PopupPosition, value); }
    void setPopupBlurStyle(PopupBlur value) { assign(Field::PopupBlurStyle, value); }
    void setPopupOpacity(double value) { assign(Field::PopupOpacity, value); }
    void setPopupAnimationStyle(PopupAnimation value) { assign(Field::PopupAnimationStyle, value); }
    void setSingleClickOpensPopup(bool value) { assign(Field::SingleClickOpensPopup, value); }
    void setPopupArrowOffset(double value) { assign(Field::PopupArrowOffset, value); }
    void setDockHost(DockHostChoice value) { assign(Field::DockHost, value); }

    // Registers or unregisters the login item as `launchAtLogin` says. When the system refuses,
    // the field goes back to what is really registered (and is stored so), and the refusal is
    // kept in `launchAtLoginFailure` until a later change succeeds.
    void updateLaunchAtLogin();
    const std::optional<LoginItemFailure>& launchAtLoginFailure() const { return m_launchAtLoginFailure; }

    // The onboarding flag's first reading, by precedence: the newer of the ordinary and the
    // container preferences file, the defaults, the persistent domain, then whether the folders
    // file holds any folder.
    bool readOnboardingFlag() const;
    static std::optional<OnboardingFlagSnapshot> readOnboardingSnapshot(const QString& path);
    void writeOnboardingFlagToContainer(bool value) const;
    QString ordinaryPreferencesPath() const;
    QString containerPreferencesPath() const;

Q_SIGNALS:
    // A field's value changed (not emitted for an assignment of the same value).
    void changed(AppSettings::Field field);
    void launchAtLoginFailureChanged();

private:
    template <typename T> T get(Field field) const { return std::get<T>(m_values[std::size_t(field)]); }
    // Holds the value, tells observers if it differs, then (outside a reload) runs the change action.
    // True when the value differed.
    bool assign(Field field, Value value);
    void runChangeAction(Field field);
    // A number with a write waiting for the end of its interval.
    bool isWriteWaiting(Field field) const;
    // A stored field's value as it is now: launch at login from the login item itself (the stored
    // key may be stale, or the entry removed by hand), the others from the defaults.
    Value readStored(Field field) const;

    Services m_services;
    std::vector<Value> m_values;                     // by Field
    std::vector<std::unique_ptr<Throttle>> m_writes; // by Field; only for the stored numbers
    std::optional<LoginItemFailure> m_launchAtLoginFailure;
};
