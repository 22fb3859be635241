#pragma once

#include "settings/AppSettings.h"

#include <QWidget>

struct MainWindowEnvironment;
class RowNote;
class SegmentedPicker;
class SettingsRow;
class ToggleSwitch;

// The general settings: start at login, the menu-bar extra, the interface language and the theme.
// Each control writes its setting at once and follows it when it changes elsewhere. A note under a
// switch says why it shows other than what was chosen (the system refused to start Trellin at login)
// or why it has no effect (no tray to show the menu-bar item in).
class GeneralSettingsView final : public QWidget {
    Q_OBJECT
public:
    explicit GeneralSettingsView(const MainWindowEnvironment& environment, QWidget* parent = nullptr);

    ToggleSwitch* launchAtLoginSwitch() const { return m_launchAtLogin; }
    ToggleSwitch* showMenuBarSwitch() const { return m_showMenuBar; }
    SegmentedPicker* languagePicker() const { return m_language; }
    RowNote* launchAtLoginNote() const { return m_launchAtLoginNote; }
    RowNote* showMenuBarNote() const { return m_showMenuBarNote; }
    SegmentedPicker* themePicker() const { return m_theme; }

Q_SIGNALS:
    // The natural height (sizeHint) changed.
    void heightChanged();

private:
    void retranslate();
    void settingChanged(AppSettings::Field field);
    void updateNotes();

    const MainWindowEnvironment& m_environment;
    ToggleSwitch* m_launchAtLogin;
    ToggleSwitch* m_showMenuBar;
    SegmentedPicker* m_language;
    SegmentedPicker* m_theme;
    SettingsRow* m_launchAtLoginRow;
    SettingsRow* m_showMenuBarRow;
    SettingsRow* m_languageRow;
    RowNote* m_launchAtLoginNote;
    RowNote* m_showMenuBarNote;
    SettingsRow* m_themeRow;
};
