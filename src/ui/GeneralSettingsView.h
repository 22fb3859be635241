#pragma once

#include "settings/AppSettings.h"

#include <QWidget>

struct MainWindowEnvironment;
class SegmentedPicker;
class SettingsRow;
class ToggleSwitch;

// The general settings: start at login, the menu-bar extra, the interface language and the theme. Each control
// writes its setting at once and follows it when it changes elsewhere.
class GeneralSettingsView final : public QWidget {
    Q_OBJECT
public:
    explicit GeneralSettingsView(const MainWindowEnvironment& environment, QWidget* parent = nullptr);

    ToggleSwitch* launchAtLoginSwitch() const { return m_launchAtLogin; }
    ToggleSwitch* showMenuBarSwitch() const { return m_showMenuBar; }
    SegmentedPicker* languagePicker() const { return m_language; }
    SegmentedPicker* themePicker() const { return m_theme; }

Q_SIGNALS:
    // The natural height (sizeHint) changed.
    void heightChanged();

private:
    void retranslate();
    void settingChanged(AppSettings::Field field);

    const MainWindowEnvironment& m_environment;
    ToggleSwitch* m_launchAtLogin;
    ToggleSwitch* m_showMenuBar;
    SegmentedPicker* m_language;
    SegmentedPicker* m_theme;
    SettingsRow* m_launchAtLoginRow;
    SettingsRow* m_showMenuBarRow;
    SettingsRow* m_languageRow;
    SettingsRow* m_themeRow;
};
