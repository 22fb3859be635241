#pragma once

#include <QObject>

struct MainWindowEnvironment;
class QLabel;
class RowNote;
class SettingsRow;
class SettingsSection;
class TextButton;

// The General page's offer of Trellin's extension for the dock in use (GNOME Shell's), in a section
// of its own that shows only where that dock has one: a button to install (or update) it, else
// whether the dock runs it already, and a note when it waits for the next login or failed.
class DockExtensionRow final : public QObject {
    Q_OBJECT
public:
    DockExtensionRow(SettingsSection* section, const MainWindowEnvironment& environment, QObject* parent = nullptr);

    // Asks the dock in use again (shown, the dock changed, the language changed).
    void refresh();

    SettingsRow* row() const { return m_row; }
    TextButton* installButton() const { return m_install; }
    QLabel* stateLabel() const { return m_state; }
    RowNote* note() const { return m_note; }

private:
    void install();

    const MainWindowEnvironment& m_environment;
    SettingsSection* m_section;
    SettingsRow* m_row;
    TextButton* m_install;
    QLabel* m_state;
    RowNote* m_note;
    // Why the last install failed, in the system's words; shown until the next try.
    QString m_failure;
};
