#pragma once

#include "model/Enums.h"

#include <QObject>
#include <QString>

#include <optional>

class DistributedNotifications;
class LocalNotificationCenter;
class LoginItem;
class UserDefaults;

// One reading of the onboarding flag from a preferences file.
struct OnboardingFlagSnapshot {
    bool value = false;
    double modifiedAt = 0; // seconds since 1970; the distant past when the file's date is unknown
};

// The global preferences, each kept in the user defaults under its own key. Every assignment
// writes the value and announces it (outside a reload); observers hear of real changes only.
class AppSettings : public QObject {
    Q_OBJECT
public:
    // Fields in declaration order; the stored ones use their name as their key.
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
    };
    Q_ENUM(Field)

    struct Services {
        UserDefaults& defaults;
        LocalNotificationCenter& notifications;
        DistributedNotifications& distributedNotifications;
        LoginItem& loginItem;
        QString bundleIdentifier; // empty when the running bundle has none
        QString homeDirectory;
        QString foldersFilePath;
    };

    // Reads every stored field; writes and posts nothing.
    explicit AppSettings(Services services, QObject* parent = nullptr);

    static AppSettings* shared();
    static void setShared(AppSettings* settings);

    static QString key(Field field);

    // Re-reads every stored field but the onboarding flag, writing and posting nothing.
    void reloadFromDefaults();

    bool isUpdating() const { return m_isUpdating; }
    bool launchAtLogin() const { return m_launchAtLogin; }
    AppLanguage language() const { return m_language; }
    bool showMenuBar() const { return m_showMenuBar; }
    AppThemeMode appTheme() const { return m_appTheme; }
    bool hasCompletedOnboarding() const { return m_hasCompletedOnboarding; }
    double tileOpacity() const { return m_tileOpacity; }
    double tileCornerRadius() const { return m_tileCornerRadius; }
    TileBackground tileBackgroundStyle() const { return m_tileBackgroundStyle; }
    TileBackgroundMode tileBackgroundMode() const { return m_tileBackgroundMode; }
    bool tileBorderEnabled() const { return m_tileBorderEnabled; }
    double tileBorderWidth() const { return m_tileBorderWidth; }
    double tileBorderOpacity() const { return m_tileBorderOpacity; }
    double tileIconPadding() const { return m_tileIconPadding; }
    bool popupShowTitle() const { return m_popupShowTitle; }
    qint64 popupColumns() const { return m_popupColumns; }
    double popupIconSize() const { return m_popupIconSize; }
    bool popupShowAppName() const { return m_popupShowAppName; }
    PopupPosition popupPosition() const { return m_popupPosition; }
    PopupBlur popupBlurStyle() const { return m_popupBlurStyle; }
    double popupOpacity() const { return m_popupOpacity; }
    PopupAnimation popupAnimationStyle() const { return m_popupAnimationStyle; }
    bool singleClickOpensPopup() const { return m_singleClickOpensPopup; }
    double popupArrowOffset() const { return m_popupArrowOffset; }

    void setLaunchAtLogin(bool value);
    void setLanguage(AppLanguage value);
    void setShowMenuBar(bool value);
    void setAppTheme(AppThemeMode value);
    void setHasCompletedOnboarding(bool value);
    void setTileOpacity(double value);
    void setTileCornerRadius(double value);
    void setTileBackgroundStyle(TileBackground value);
    void setTileBackgroundMode(TileBackgroundMode value);
    void setTileBorderEnabled(bool value);
    void setTileBorderWidth(double value);
    void setTileBorderOpacity(double value);
    void setTileIconPadding(double value);
    void setPopupShowTitle(bool value);
    void setPopupColumns(qint64 value);
    void setPopupIconSize(double value);
    void setPopupShowAppName(bool value);
    void setPopupPosition(PopupPosition value);
    void setPopupBlurStyle(PopupBlur value);
    void setPopupOpacity(double value);
    void setPopupAnimationStyle(PopupAnimation value);
    void setSingleClickOpensPopup(bool value);
    void setPopupArrowOffset(double value);

    void updateLaunchAtLogin();

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

private:
    void readStoredFields(bool includingOnboarding);
    template <typename T> void assign(T& member, const T& value, Field field);
    void runChangeAction(Field field);
    void write(Field field, const QVariant& value);
    void post(const char* name);

    Services m_services;
    bool m_isUpdating = false;
    bool m_launchAtLogin = false;
    AppLanguage m_language = AppLanguage::English;
    bool m_showMenuBar = false;
    AppThemeMode m_appTheme = AppThemeMode::Dark;
    bool m_hasCompletedOnboarding = false;
    double m_tileOpacity = 1.0;
    double m_tileCornerRadius = 12.0;
    TileBackground m_tileBackgroundStyle = TileBackground::Frosted;
    TileBackgroundMode m_tileBackgroundMode = TileBackgroundMode::Solid;
    bool m_tileBorderEnabled = true;
    double m_tileBorderWidth = 1.0;
    double m_tileBorderOpacity = 0.3;
    double m_tileIconPadding = 4.0;
    bool m_popupShowTitle = true;
    qint64 m_popupColumns = 3;
    double m_popupIconSize = 52.0;
    bool m_popupShowAppName = true;
    PopupPosition m_popupPosition = PopupPosition::AboveDock;
    PopupBlur m_popupBlurStyle = PopupBlur::Thin;
    double m_popupOpacity = 0.95;
    PopupAnimation m_popupAnimationStyle = PopupAnimation::Spring;
    bool m_singleClickOpensPopup = true;
    double m_popupArrowOffset = 0;
};
