#pragma once

#include "MainWindowEnvironment.h"
#include "model/AppFolder.h"
#include "widgets/DialogPanel.h"

#include <QString>

#include <optional>

class FolderNameHint;
class IconGrid;
class QLineEdit;
class SearchInputField;

// The folder editor: creates a folder, or renames the store's `folderToEdit` and changes its
// glyph. Shown by the main window's modal layer while the store's `showingFolderEditor` is set;
// Save (Return) and Cancel (Escape) both close it by clearing that flag and `folderToEdit`.
class NewFolderSheet final : public DialogPanel {
    Q_OBJECT
public:
    static constexpr double panelWidth = 360;
    static constexpr int gridHeight = 150;

    explicit NewFolderSheet(const MainWindowEnvironment& environment, QWidget* parent = nullptr);

    // What Save stores: `folderToEdit` renamed and re-iconed (all else kept), or a new empty folder
    // made at `now` (seconds since 2001-01-01) when there is none. None when the trimmed name is
    // empty, as such a folder cannot be saved.
    static std::optional<AppFolder> savedFolder(const std::optional<AppFolder>& folderToEdit, const QString& name,
                                                const QString& icon, double now);

    void save();
    void cancel();
    void focusNameField();

    QLineEdit* nameField() const { return m_nameField; }
    IconGrid* iconGrid() const { return m_iconGrid; }
    FolderNameHint* nameHint() const { return m_nameHint; }
    TextButton* saveButton() const { return m_saveButton; }
    QString folderName() const;
    QString selectedIcon() const { return m_selectedIcon; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void dismiss();

    const MainWindowEnvironment& m_environment;
    std::optional<AppFolder> m_folderToEdit;
    QString m_selectedIcon;
    SearchInputField* m_nameBox;
    QLineEdit* m_nameField;
    IconGrid* m_iconGrid;
    FolderNameHint* m_nameHint = nullptr;
    TextButton* m_saveButton = nullptr;
};
