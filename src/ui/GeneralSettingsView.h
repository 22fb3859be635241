#pragma once

#include "settings/AppSettings.h"

#include <QWidget>

class DockExtensionRow;
struct MainWindowEnvironment;
class RowNote;
class SegmentedPicker;
class SettingsRow;
class SettingsSection;
class TextButton;
class ToggleSwitch;

// The general settings: start at login, the menu-bar extra, the interface language, the theme and
// the dock the folders stand in (with the one in use now under its title).
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
    SegmentedPicker* dockPicker() const { return m_dock; }
    SettingsRow* dockRow() const { return m_dockRow; }
    DockExtensionRow* dockExtensionRow() const { return m_dockExtension; }
    TextButton* exportButton() const { return m_export; }
    TextButton* importButton() const { return m_import; }
    // Shown while the desktop has app folders to import.
    SettingsRow* desktopFoldersRow() const { return m_desktopFoldersRow; }
    TextButton* desktopFoldersButton() const { return m_importDesktop; }

    // Asks again which dock is in use, for the line under the dock row's title: the application
    // calls it when its dock changed by itself (one started or quit in the session). A change of
    // the choice, and showing the page, ask on their own.
    void refreshActiveDock();

Q_SIGNALS:
    // The natural height (sizeHint) changed.
    void heightChanged();
    // What came of an export or an import, for the window's notice.
    void newsReported(const QString& title, const QString& message);

private:
    void retranslate();
    void settingChanged(AppSettings::Field field);
    void updateNotes();
    void buildFolderRows(SettingsSection* section);
    void showEvent(QShowEvent* event) override;

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
    SegmentedPicker* m_dock;
    SettingsRow* m_dockRow;
    DockExtensionRow* m_dockExtension;
    SettingsRow* m_foldersRow;
    TextButton* m_export;
    TextButton* m_import;
    SettingsRow* m_desktopFoldersRow;
    TextButton* m_importDesktop;
};
